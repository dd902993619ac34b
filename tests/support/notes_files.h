#pragma once
// The notes file as tests meet it: its bytes, and the pad's text.

#include "tests/support/test_program.h"

namespace agelark::testing {

QByteArray fileBytes(const QString& path);  // "<unreadable>" when it cannot be read
bool writeFile(const QString& path, const QByteArray& bytes);
QString padNow(const TestProgram& program);  // the pad's text as the user typed it

}  // namespace agelark::testing
