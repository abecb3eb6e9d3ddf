#pragma once
// The system lines of the About box: the operating system and the physical memory.
#include <QLocale>
#include <QString>
#include <cstdint>
#include <string>

// "NAME (Build KERNEL)": the distribution's pretty name from an os-release text (NAME and VERSION when
// PRETTY_NAME is missing, "Linux" when both are) and the kernel release.
QString OperatingSystemLine(const std::string& osRelease, const std::string& kernelRelease);
// The same for this machine (/etc/os-release, else /usr/lib/os-release; uname).
QString OperatingSystemLine();

// Total bytes divided by 1024 twice, with the locale's thousands separator and " MB" ("8,192 MB").
QString PhysicalMemoryText(uint64_t totalBytes, const QLocale& locale = QLocale::system());
// The physical memory of this machine in bytes.
uint64_t PhysicalMemoryBytes();
