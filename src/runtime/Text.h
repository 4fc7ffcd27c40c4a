#pragma once
// The system's text is 8-bit (Windows-1252, degree sign $B0); Qt's is Unicode.

#include <QString>
#include <string>

QString FromAnsi(const std::string &Text);
QChar FromAnsi(unsigned char Byte);
std::string ToAnsi(const QString &Text);
