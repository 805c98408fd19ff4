#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tess {

// A text held in pieces, so that whoever takes it in can let each piece go as soon as it holds
// it: a long text is then never in memory whole beside what is made of it. The pieces may be cut
// anywhere, inside a UTF-8 sequence or a CR LF too; joined they are the text, and two texts are
// equal when their pieces joined are.
class TextPieces {
  public:
    TextPieces() = default;
    // One piece.
    TextPieces(std::string text);
    TextPieces(const char* text);
    explicit TextPieces(std::vector<std::string> pieces);

    std::vector<std::string>& pieces() { return pieces_; }
    const std::vector<std::string>& pieces() const { return pieces_; }
    // Bytes in all.
    std::size_t size() const;
    std::string joined() const;
    bool operator==(const TextPieces& other) const;

  private:
    std::vector<std::string> pieces_;
};

}  // namespace tess
