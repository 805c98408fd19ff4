#pragma once

#include <string>
#include <string_view>

#include "platform/Result.h"

namespace tess {

// Turns a rich-text document into its plain text (UTF-8), as a rich text box shows it: groups,
// skipped destinations, \par and \line as CR LF, \tab, \'hh in Windows-1252, \uN with \ucN.
// The paragraph mark that ends the document gives no line break of its own ("Hi\par}" is "Hi"),
// as a box shows no empty line after the last paragraph. Any input gives a result.
std::string rtfToPlainText(std::string_view rtf);

// The same for the content of a file that is loaded as rich text: fails when the bytes are not a
// rich-text document (they must begin with "{\rtf", blanks and line ends before it allowed).
// Whatever follows the end of the document group is not read.
Result<std::string> rtfDocumentToPlainText(std::string_view bytes);

}  // namespace tess
