#pragma once
// The commands that draw with Qt (on an image or a printer). The light zvptool lists them but does not
// link Qt: it hands the command line to zvptool-qt, which holds every command, so the others start fast
// and load no GUI or printing libraries.
struct TCommandText {
  const char* Name;
  const char* Arguments;
  const char* Summary;
};

inline constexpr TCommandText RenderText{
    "render", "FILE.(zvp|emf) [--page N] [--dpi D] [--fit PX] -o OUT.png", "draw a page into a PNG image"};
inline constexpr TCommandText PrintText{"print", "FILE.zvp [--printer NAME] [--copies N] [--from A --to B]",
                                        "print pages on a printer, as the viewer does"};
