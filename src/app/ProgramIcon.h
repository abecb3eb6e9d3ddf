#pragma once
// The program's icon (a report sheet), in the sizes installed into the desktop's icon theme.
#include <QByteArray>
#include <QIcon>
#include <array>

inline constexpr std::array<int, 4> ProgramIconSizes = {16, 32, 48, 256};

QIcon ProgramIcon();
// The PNG file of one size.
QByteArray ProgramIconPng(int size);
