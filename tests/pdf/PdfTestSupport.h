#pragma once
// Helpers of the PDF engine tests: writing objects to strings, saving documents under the test-output
// folder and checking them with the installed PDF tools.
#include <string>

class TPdfObject;
class TPdfDocument;
class TPdfWrite;

// The bytes TPdfObject::WriteTo produces.
std::string WrittenForm(TPdfObject& AObject);
// The bytes of a whole save with fixed dates (creation and modification 2024-01-31 23:59:59).
std::string SavedBytes(TPdfDocument& ADoc);
// Saves ADoc under the test-output folder as FileName (fixed dates) and returns the path.
std::string SaveForInspection(TPdfDocument& ADoc, const std::string& FileName);
// Empty when the structural checker and the renderer's info tool both accept the file; their output
// otherwise.
std::string PdfToolProblems(const std::string& Path);
// What pdftotext -layout reads from the file.
std::string PdfText(const std::string& Path);
// The page count pdfinfo reports, -1 when it reports none.
int PdfInfoPages(const std::string& Path);
// The body of an indirect object as its definition writes it (without "n 0 obj" and "endobj").
std::string DefinitionBody(TPdfObject& AObject);

constexpr const char* FixedDateText = "D:20240131235959";
