#include <gtest/gtest.h>

#include <new>
#include <random>
#include <string>
#include <vector>

#include "platform/TextStore.h"
#include "platform/testing/AddressSpaceLimit.h"

namespace tess {
namespace {

// The line starts of `text` as the rule says, found afresh.
std::vector<std::size_t> startsOf(const std::u16string& text) {
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool pair = text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n';
        if (pair)
            ++i;
        if (pair || text[i] == u'\r' || text[i] == u'\n')
            starts.push_back(i + 1);
    }
    return starts;
}

void expectHolds(const TextStore& store, const std::u16string& text, const std::string& what) {
    ASSERT_EQ(store.size(), text.size()) << what;
    ASSERT_TRUE(store.mid(0, store.size()) == text) << what;
    const std::vector<std::size_t> starts = startsOf(text);
    ASSERT_EQ(store.lineCount(), starts.size()) << what;
    for (std::size_t line = 0; line < starts.size(); ++line) {
        ASSERT_EQ(store.lineStart(line), starts[line]) << what << " line " << line;
        const std::size_t next = line + 1 < starts.size() ? starts[line + 1] : text.size();
        std::size_t end = next;
        if (line + 1 < starts.size())
            end -= next >= 2 && text[next - 2] == u'\r' && text[next - 1] == u'\n' ? 2 : 1;
        ASSERT_EQ(store.lineEnd(line), end) << what << " line " << line;
    }
    for (std::size_t place = 0; place <= text.size(); ++place) {
        const auto line = static_cast<std::size_t>(
            std::upper_bound(starts.begin(), starts.end(), place) - starts.begin() - 1);
        ASSERT_EQ(store.lineOf(place), line) << what << " place " << place;
        ASSERT_EQ(store.insideBreak(place), place > 0 && place < text.size() &&
                                                text[place - 1] == u'\r' && text[place] == u'\n')
            << what << " place " << place;
    }
}

TextStore storeOf(const std::u16string& text) {
    TextStore store;
    store.append(text);
    return store;
}

// Changes that make, join, split and take away line ends, CR LF pairs above all.
TEST(TextStore, LineStartsFollowEveryChange) {
    const struct {
        std::u16string start;
        std::size_t from, count;
        std::u16string text;
    } cases[] = {
        {u"", 0, 0, u""},
        {u"", 0, 0, u"a\r\nb\rc\nd"},
        {u"a\r", 2, 0, u"\nb"},        // a CR and the LF after it become one line end
        {u"a\nb", 1, 0, u"\r"},        // ... from the other side
        {u"a\r\nb", 2, 0, u"x"},       // a CR LF parted into two line ends
        {u"a\r\nb", 1, 1, u""},        // the CR taken: the LF alone ends the line
        {u"a\r\nb", 2, 1, u""},        // the LF taken: the CR alone does
        {u"a\r\nb", 1, 2, u"\n\r"},    // one line end for two
        {u"a\r\r\n\nb", 2, 1, u""},    // CR, then CR LF, LF: now CR, LF... joined to CR LF twice
        {u"ab\r", 3, 0, u"\n"},        // at the very end
        {u"\r\n\r\n", 0, 4, u"\r"},    // everything for a lone CR
        {u"x\ry\rz", 0, 5, u""},       // everything taken
        {u"x\ny", 1, 1, u"\r\n\r\n"},  // one break for two
        {u"12345", 2, 2, u"\r"},
    };
    for (const auto& c : cases) {
        TextStore store = storeOf(c.start);
        store.replace(c.from, c.count, c.text);
        std::u16string expected = c.start;
        expected.replace(c.from, c.count, c.text);
        expectHolds(store, expected,
                    std::string(c.start.begin(), c.start.end()) + " at " + std::to_string(c.from));
    }
}

// Many changes at places all over the text, with the gap moving back and forth and the block
// growing, checked against the text kept plainly.
TEST(TextStore, ManyChangesHoldWhatAPlainTextHolds) {
    std::mt19937 random(20261211);
    const std::u16string alphabet = u"ab\r\n\r\n\xE9";
    const auto piece = [&](std::size_t longest) {
        std::u16string text(std::uniform_int_distribution<std::size_t>(0, longest)(random), u'a');
        for (char16_t& c : text)
            c = alphabet[std::uniform_int_distribution<std::size_t>(0,
                                                                    alphabet.size() - 1)(random)];
        return text;
    };
    TextStore store;
    std::u16string plain;
    for (int step = 0; step < 3000; ++step) {
        const std::size_t from =
            std::uniform_int_distribution<std::size_t>(0, plain.size())(random);
        const std::size_t count = std::uniform_int_distribution<std::size_t>(
            0, std::min<std::size_t>(plain.size() - from, 8))(random);
        // Now and then a long piece, so the block grows past its spare room.
        const std::u16string text = piece(step % 500 == 0 ? 40000 : 6);
        store.replace(from, count, text);
        plain.replace(from, count, text);
        if (step % 100 == 0 || plain.size() < 64)
            expectHolds(store, plain, "step " + std::to_string(step));
        else
            ASSERT_TRUE(store.mid(0, store.size()) == plain) << step;
    }
    expectHolds(store, plain, "at the end");
}

// A fill of several appends lands in the block reserved for it, and a part of the text may be
// copied out across the gap.
TEST(TextStore, ReservedFillAndCopiesAcrossTheGap) {
    TextStore store;
    store.reserve(12, 4);
    store.append(u"one\r\n");
    store.append(u"two\r");
    store.append(u"\nthree");
    expectHolds(store, u"one\r\ntwo\r\nthree", "filled");
    store.replace(4, 0, u"!");  // the gap now lies inside the text
    EXPECT_TRUE(store.mid(2, 6) == u"e\r!\ntw");
    EXPECT_TRUE(store.mid(5, 0).empty());
}

// Running out of memory (or past the most a store holds) leaves the store as it was.
TEST(TextStore, ARefusedChangeLeavesTheTextAsItWas) {
    TextStore store = storeOf(u"kept\r\ntext");
    EXPECT_THROW(store.reserve(TextStore::kMaxSize + 1, 1), std::bad_alloc);
    const std::u16string large(std::size_t{32} << 20, u'x');  // 64 MiB
    {
        testing::AddressSpaceLimit limit(std::size_t{16} << 20);
        if (limit.active()) {
            EXPECT_THROW(store.reserve(TextStore::kMaxSize, 1), std::bad_alloc);  // 8 GiB
            EXPECT_THROW(store.replace(2, 1, large), std::bad_alloc);
        }
    }
    expectHolds(store, u"kept\r\ntext", "after the refusals");
    store.replace(0, 4, u"still");
    expectHolds(store, u"still\r\ntext", "changed after");
}

}  // namespace
}  // namespace tess
