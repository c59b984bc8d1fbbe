#pragma once

#include <string>

namespace quib {

// A UTF-8 text as a PDF literal string, parentheses included. Text that fits PDFDocEncoding is
// written in it, anything else as UTF-16BE with a byte order mark. "(", ")" and "\" are escaped,
// and every byte outside printable ASCII is written as an octal escape, so that no title can end
// the string early or bring line ends into the file.
std::string pdfLiteralString(const std::string& utf8);

}  // namespace quib
