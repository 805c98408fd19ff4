#include "projects/ProjectFile.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>

#include "platform/Files.h"
#include "platform/Runtime.h"
#include "platform/Text.h"
#include "projects/EncodedReader.h"
#include "projects/FileEncoder.h"
#include "projects/StoredFile.h"

namespace tess {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kTwoCrLf = "\r\n\r\n";
using project::kMaxLength;
// The index a list without a selection has.
constexpr long long kNoSelection = -1;

enum class Field { Path, Title, Colour, Font, Css, Spacer, Mode, Browser, TextLength, PicLength };

struct FieldSpec {
    Field field;
    std::size_t width;
    const char* name;
};

constexpr std::array<FieldSpec, 10> kLayoutB = {{
    {Field::Path, 265, "The output path"},
    {Field::Title, 512, "The page title"},
    {Field::Colour, 8, "The background colour"},
    {Field::Font, 2, "The font size"},
    {Field::Css, 6, "The custom CSS size"},
    {Field::Spacer, 2, "The spacer"},
    {Field::Mode, 2, "The mode"},
    {Field::Browser, 1, "The browser setting"},
    {Field::TextLength, 8, "The custom text's length"},
    {Field::PicLength, 8, "The picture's length"},
}};

Error fault(std::string reason) {
    return {errc::Generic, std::move(reason)};
}

Status putField(std::string& body, const FieldSpec& spec, std::string_view text) {
    if (text.size() > spec.width)
        return fault(std::string(spec.name) + " is longer than " + std::to_string(spec.width) +
                     " characters.");
    body += text;
    body.append(spec.width - text.size(), ' ');
    body += kCrLf;
    return {};
}

// A whole decimal number, blanks around it allowed and nothing else.
std::optional<long long> wholeNumber(std::string_view field) {
    const std::string text = rt::trim(field);
    std::size_t at = text.size() > 0 && text[0] == '-' ? 1 : 0;
    if (at == text.size() || text.size() - at > 9)
        return std::nullopt;
    long long value = 0;
    for (; at < text.size(); ++at) {
        if (text[at] < '0' || text[at] > '9')
            return std::nullopt;
        value = value * 10 + (text[at] - '0');
    }
    return text[0] == '-' ? -value : value;
}

Result<long long> numberIn(std::string_view field, const FieldSpec& spec, long long low,
                           long long high) {
    const std::optional<long long> value = wholeNumber(field);
    if (!value)
        return fault(std::string(spec.name) + " is not a number.");
    if (*value < low || *value > high)
        return fault(std::string(spec.name) + " (" + std::to_string(*value) + ") is out of range.");
    return *value;
}

template <std::size_t N>
constexpr long long lastIndex(const std::array<std::string_view, N>&) {
    return static_cast<long long>(N) - 1;
}

// The body read from its start: the settings first, every field checked before the rest is
// inflated; then the custom text and the picture their lengths state; bytes after the body are
// inflated for the check sum only.
Result<LoadedProject> readBody(EncodedReader& reader, int version, bool layoutB) {
    std::size_t settingsSize = 0;
    for (const FieldSpec& spec : kLayoutB) {
        if (spec.field != Field::Css || layoutB)
            settingsSize += spec.width + kCrLf.size();
    }
    // The settings and the empty line after them.
    std::string settings(static_cast<std::size_t>(
                             std::min<std::uint64_t>(reader.length(), settingsSize + kCrLf.size())),
                         '\0');
    if (Status read = reader.read(settings.data(), settings.size()); !read)
        return read.error();
    // A body too short for its settings is all read by now: a fault of the stream itself is told
    // before the missing settings.
    if (reader.left() == 0) {
        if (Status end = reader.finish(); !end)
            return end.error();
    }
    const std::string_view body = settings;

    std::array<std::string_view, kLayoutB.size()> fields{};
    std::size_t at = 0;
    for (const FieldSpec& spec : kLayoutB) {
        if (spec.field == Field::Css && !layoutB)
            continue;
        if (body.size() < at + spec.width + kCrLf.size() ||
            body.substr(at + spec.width, kCrLf.size()) != kCrLf)
            return fault("The project's settings are damaged.");
        fields[static_cast<std::size_t>(spec.field)] = body.substr(at, spec.width);
        at += spec.width + kCrLf.size();
    }
    auto field = [&](Field f) { return fields[static_cast<std::size_t>(f)]; };
    auto spec = [](Field f) -> const FieldSpec& { return kLayoutB[static_cast<std::size_t>(f)]; };

    const auto maxLength = static_cast<long long>(kMaxLength);
    Result<long long> n = numberIn(field(Field::TextLength), spec(Field::TextLength), 0, maxLength);
    if (!n)
        return n.error();
    Result<long long> m = numberIn(field(Field::PicLength), spec(Field::PicLength), 0, maxLength);
    if (!m)
        return m.error();

    LoadedProject loaded;
    loaded.version = version;
    MosaicOptions& o = loaded.options;
    o.OutputPath = cp1252::toUtf8(rt::trim(field(Field::Path)));
    o.Title = cp1252::toUtf8(rt::trim(field(Field::Title)));
    Result<long long> colour = numberIn(field(Field::Colour), spec(Field::Colour), 0, 0xFFFFFF);
    if (!colour)
        return colour.error();
    o.BGColor = static_cast<Colour>(*colour);

    // A list without a selection is written as its index, -1; it is read back so.
    Result<long long> font = numberIn(field(Field::Font), spec(Field::Font), kNoSelection,
                                      lastIndex(MosaicOptions::kFontSizeTexts));
    if (!font)
        return font.error();
    o.FontSize = static_cast<std::int16_t>(*font);
    if (o.FontSize == lastIndex(MosaicOptions::kFontSizeTexts)) {
        // The custom size needs its unit; without one the entry before it is taken.
        const std::string css = layoutB ? rt::trim(field(Field::Css)) : std::string();
        std::string_view size = css;
        std::string unit;
        for (std::string_view u : {"px", "pt", "%"}) {
            if (size.size() >= u.size() && size.substr(size.size() - u.size()) == u) {
                unit = u;
                size.remove_suffix(u.size());
                break;
            }
        }
        if (unit.empty()) {
            o.FontSize = static_cast<std::int16_t>(o.FontSize - 1);
        } else {
            const std::optional<long long> value =
                !size.empty() && size[0] != '-' ? wholeNumber(size) : std::nullopt;
            if (!value || *value > INT16_MAX)
                return fault("The custom CSS size (" + css + ") is not a size.");
            o.CSSSize = static_cast<std::int16_t>(*value);
            o.CSSUnit = unit;
            loaded.customCss = true;
        }
    }

    Result<long long> spacer = numberIn(field(Field::Spacer), spec(Field::Spacer), kNoSelection,
                                        lastIndex(MosaicOptions::kSpacerTexts));
    if (!spacer)
        return spacer.error();
    o.Spacer = static_cast<std::int16_t>(*spacer);

    Result<long long> mode = numberIn(field(Field::Mode), spec(Field::Mode), kNoSelection,
                                      lastIndex(MosaicOptions::kModeTexts));
    if (!mode)
        return mode.error();
    // Older files knew no "Machine Code": their 4 and 5 are "Hex" and "Smart Text".
    if (version <= project::kLastOldModesVersion && (*mode == 4 || *mode == 5))
        *mode += 1;
    o.Mode = static_cast<std::int16_t>(*mode);
    o.OpenInBrowser = rt::trim(field(Field::Browser)) == "1" ? 1 : 0;

    // The empty line, the custom text, CR LF CR LF, the picture, CR LF.
    const auto textLength = static_cast<std::size_t>(*n);
    const auto pictureLength = static_cast<std::size_t>(*m);
    if (reader.length() <
        settings.size() + textLength + kTwoCrLf.size() + pictureLength + kCrLf.size())
        return fault("The project holds less than its lengths state.");
    if (body.substr(at, kCrLf.size()) != kCrLf)
        return fault("The project's settings are damaged.");
    std::string text(textLength + kTwoCrLf.size(), '\0');
    if (Status read = reader.read(text.data(), text.size()); !read)
        return read.error();
    if (std::string_view(text).substr(textLength) != kTwoCrLf)
        return fault("The project's settings are damaged.");
    text.resize(textLength);
    loaded.picture.resize(pictureLength + kCrLf.size());
    if (Status read = reader.read(loaded.picture.data(), loaded.picture.size()); !read)
        return read.error();
    if (std::string_view(loaded.picture).substr(pictureLength) != kCrLf)
        return fault("The project's settings are damaged.");
    loaded.picture.resize(pictureLength);
    if (Status end = reader.finish(); !end)
        return end.error();
    o.CustomText = cp1252::toUtf8(text);
    return loaded;
}

}  // namespace

std::string projectOutputPath(std::string_view outputPath, double dayFraction, double random) {
    if (cp1252::fromUtf8(outputPath).size() <= project::kMaxStoredOutputPath)
        return std::string(outputPath);
    char number[64];
    std::snprintf(number, sizeof number, "%.15g", dayFraction * random);
    std::string digits;
    for (const char* c = number; *c != '\0'; ++c) {
        if (*c >= '0' && *c <= '9')
            digits += *c;
    }
    return "C:\\Mosaic" + digits + ".html";
}

Result<std::string> writeProjectBody(const MosaicOptions& options, std::string_view picture) {
    const std::string text = cp1252::fromUtf8(options.CustomText);
    if (text.size() > kMaxLength)
        return fault("The custom text is longer than 99,999,999 characters.");
    if (picture.size() > kMaxLength)
        return fault("The picture file is larger than 99,999,999 bytes.");
    const std::array<std::string, 10> values = {
        cp1252::fromUtf8(options.OutputPath),
        cp1252::fromUtf8(options.Title),
        std::to_string(options.BGColor),
        std::to_string(options.FontSize),
        std::to_string(options.CSSSize) + cp1252::fromUtf8(options.CSSUnit),
        std::to_string(options.Spacer),
        std::to_string(options.Mode),
        std::to_string(options.OpenInBrowser),
        std::to_string(text.size()),
        std::to_string(picture.size()),
    };
    std::string body;
    body.reserve(840 + text.size() + picture.size());
    for (std::size_t i = 0; i < kLayoutB.size(); ++i) {
        if (Status put = putField(body, kLayoutB[i], values[i]); !put)
            return put.error();
    }
    body += kCrLf;
    body += text;
    body += kTwoCrLf;
    body += picture;
    body += kCrLf;
    return body;
}

Result<std::string> writeProjectFile(const MosaicOptions& options, std::string_view picture) {
    Result<std::string> body = writeProjectBody(options, picture);
    if (!body)
        return body.error();
    Result<std::string> encoded = EncodeFile(std::string_view(*body));
    if (!encoded)
        return encoded.error();
    std::string header = std::string(project::kMark) + std::to_string(project::kVersionMajor) +
                         std::to_string(project::kVersionMinor) +
                         ThreeDigits(std::to_string(project::kVersionRevision));
    header.resize(project::kHeaderSize, ' ');
    std::string file;
    file.reserve(header.size() + encoded->size() + kCrLf.size());
    file += header;
    file += *encoded;
    file += kCrLf;
    return file;
}

Result<std::string> readProjectFile(const std::string& path) {
    return readStoredFile(path, project::kMaxFileSize, "a project");
}

Result<int> readProjectVersion(std::string_view file) {
    const std::string header = rt::trim(file.substr(0, project::kHeaderSize));
    if (header.substr(0, project::kMark.size()) != project::kMark)
        return fault("The file is not a project.");
    const std::string_view version = std::string_view(header).substr(project::kMark.size());
    const std::optional<long long> value =
        version.empty() || version[0] == '-' ? std::nullopt : wholeNumber(version);
    if (!value)
        return fault("The project's header holds no version number.");
    return static_cast<int>(*value);
}

Result<LoadedProject> readProject(std::string_view file) {
    Result<int> version = readProjectVersion(file);
    if (!version)
        return version.error();
    const bool layoutB = *version >= project::kFirstLayoutBVersion;
    // No body of this layout is longer than its fields allow: nothing beyond that is inflated.
    Result<EncodedReader> reader =
        EncodedReader::open(file.substr(std::min(file.size(), project::kHeaderSize)),
                            layoutB ? project::kMaxBodyB : project::kMaxBodyB - 8);
    if (!reader)
        return reader.error();
    try {
        return readBody(*reader, *version, layoutB);
    } catch (const std::bad_alloc&) {
        return Error{errc::OutOfMemory, "There is not enough memory to read the project."};
    }
}

}  // namespace tess
