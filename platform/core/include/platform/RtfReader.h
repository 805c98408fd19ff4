#pragma once

#include <string>
#include <string_view>

namespace tess {

// Turns a rich-text document into its plain text (UTF-8), as a rich text box shows it: groups,
// skipped destinations, \par and \line as CR LF, \tab, \'hh in Windows-1252, \uN with \ucN.
std::string rtfToPlainText(std::string_view rtf);

}  // namespace tess
