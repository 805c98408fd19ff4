#include "platform/testing/Corpus.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace tess::testing {

namespace fs = std::filesystem;

std::vector<std::string> corpusFileNames(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (auto it = fs::directory_iterator(folder, error); !error && it != fs::end(it);
         it.increment(error)) {
        std::error_code ignored;
        if (it->is_regular_file(ignored)) {
            names.push_back(it->path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

CorpusExpectation corpusExpectation(std::string_view fileName) {
    if (fileName.starts_with("good-")) {
        return CorpusExpectation::Read;
    }
    if (fileName.starts_with("bad-")) {
        return CorpusExpectation::Refused;
    }
    return CorpusExpectation::Either;
}

std::ostream& operator<<(std::ostream& out, CorpusExpectation expectation) {
    switch (expectation) {
        case CorpusExpectation::Read:
            return out << "read";
        case CorpusExpectation::Refused:
            return out << "refused";
        case CorpusExpectation::Either:
            break;
    }
    return out << "either";
}

std::string corpusTestName(std::string_view fileName) {
    std::string name(fileName);
    for (char& c : name) {
        const bool plain =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!plain) {
            c = '_';
        }
    }
    return name;
}

}  // namespace tess::testing
