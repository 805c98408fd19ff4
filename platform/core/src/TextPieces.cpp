#include "platform/TextPieces.h"

#include <utility>

namespace tess {

TextPieces::TextPieces(std::string text) {
    pieces_.push_back(std::move(text));
}

TextPieces::TextPieces(const char* text) : TextPieces(std::string(text)) {}

TextPieces::TextPieces(std::vector<std::string> pieces) : pieces_(std::move(pieces)) {}

std::size_t TextPieces::size() const {
    std::size_t bytes = 0;
    for (const std::string& piece : pieces_)
        bytes += piece.size();
    return bytes;
}

std::string TextPieces::joined() const {
    std::string text;
    text.reserve(size());
    for (const std::string& piece : pieces_)
        text += piece;
    return text;
}

bool TextPieces::operator==(const TextPieces& other) const {
    return size() == other.size() && joined() == other.joined();
}

}  // namespace tess
