#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/testing/AddressSpaceLimit.h"
#include "platform/testing/TempFolder.h"
#include "projects/FileEncoder.h"
#include "projects/GraphicsLibrary.h"
#include "projects/ProjectFile.h"

namespace tess {
namespace {

// A settings field as a file holds it: the text, blanks up to the width, CR LF.
std::string field(std::string_view text, std::size_t width) {
    std::string f(text);
    f.resize(width, ' ');
    return f + "\r\n";
}

struct Fields {
    std::string path = "/home/ann/Mosaics/Image1.html";
    std::string title = "Image From /home/ann/cat.jpg";
    std::string colour = "16711680";
    std::string font = "0";
    std::string css = "60%";
    std::string spacer = "1";
    std::string mode = "6";
    std::string browser = "1";
    std::string text = "tessaryn q4";
    std::string picture = "BM picture bytes";
    std::string n;  // the lengths of text and picture unless set
    std::string m;
};

// A plain body in layout B, or in layout A (no CSS field).
std::string body(const Fields& f, bool layoutB = true) {
    std::string b =
        field(f.path, 265) + field(f.title, 512) + field(f.colour, 8) + field(f.font, 2);
    if (layoutB)
        b += field(f.css, 6);
    b += field(f.spacer, 2) + field(f.mode, 2) + field(f.browser, 1) +
         field(f.n.empty() ? std::to_string(f.text.size()) : f.n, 8) +
         field(f.m.empty() ? std::to_string(f.picture.size()) : f.m, 8);
    return b + "\r\n" + f.text + "\r\n\r\n" + f.picture + "\r\n";
}

std::string fileOf(std::string_view header, std::string_view plain) {
    Result<std::string> e = EncodeFile(plain);
    EXPECT_TRUE(e.ok());
    return std::string(header) + (e.ok() ? *e : "") + "\r\n";
}

std::string reasonOf(const Result<LoadedProject>& r) {
    return r.ok() ? "<loaded>" : r.error().reason;
}

MosaicOptions someOptions() {
    MosaicOptions o;
    o.OutputPath = "/home/ann/Mosaics/Image1.html";
    o.Title = "Image From /home/ann/cat.jpg";
    o.BGColor = 0xFF0000;
    o.FontSize = 0;
    o.CSSSize = 60;
    o.CSSUnit = "%";
    o.Spacer = 1;
    o.Mode = 6;
    o.OpenInBrowser = 1;
    o.CustomText = "tessaryn q4";
    return o;
}

TEST(ProjectWriter, TheSettingsBlockHasEveryFieldAtItsPositionAndWidth) {
    Result<std::string> b = writeProjectBody(someOptions(), "BM picture bytes");
    ASSERT_TRUE(b.ok()) << b.error().reason;
    const std::string golden =
        std::string("/home/ann/Mosaics/Image1.html") + std::string(236, ' ') + "\r\n" +
        "Image From /home/ann/cat.jpg" + std::string(484, ' ') + "\r\n" + "16711680\r\n" +
        "0 \r\n" + "60%   \r\n" + "1 \r\n" + "6 \r\n" + "1\r\n" + "11      \r\n" + "16      \r\n" +
        "\r\n" + "tessaryn q4" + "\r\n\r\n" + "BM picture bytes" + "\r\n";
    EXPECT_EQ(*b, golden);

    // 1-based positions and widths of the fields.
    const struct {
        std::size_t position, width;
        const char* value;
    } fields[] = {
        {1, 265, "/home/ann/Mosaics/Image1.html"},
        {268, 512, "Image From /home/ann/cat.jpg"},
        {782, 8, "16711680"},
        {792, 2, "0 "},
        {796, 6, "60%   "},
        {804, 2, "1 "},
        {808, 2, "6 "},
        {812, 1, "1"},
        {815, 8, "11      "},
        {825, 8, "16      "},
    };
    for (const auto& f : fields) {
        const std::string value = b->substr(f.position - 1, f.width);
        EXPECT_EQ(value.substr(0, std::string_view(f.value).size()), f.value) << f.position;
        EXPECT_EQ(b->substr(f.position - 1 + f.width, 2), "\r\n") << f.position;
    }
    EXPECT_EQ(b->substr(832, 4), "\r\n\r\n");
    EXPECT_EQ(b->substr(836, 11), "tessaryn q4");
}

TEST(ProjectWriter, AnEmptyCustomTextPutsThePictureAtPosition841) {
    MosaicOptions o = someOptions();
    o.CustomText.clear();
    Result<std::string> b = writeProjectBody(o, "GIF89a");
    ASSERT_TRUE(b.ok());
    EXPECT_EQ(b->substr(814, 8), "0       ");
    EXPECT_EQ(b->substr(836, 4), "\r\n\r\n");
    EXPECT_EQ(b->substr(840), "GIF89a\r\n");
}

TEST(ProjectWriter, TheFileIsTheHeaderTheEncodedBodyAndALineEnd) {
    const MosaicOptions o = someOptions();
    Result<std::string> file = writeProjectFile(o, "picture");
    ASSERT_TRUE(file.ok());
    EXPECT_EQ(file->substr(0, 8), "TPF20053");
    EXPECT_EQ(file->substr(file->size() - 2), "\r\n");
    Result<std::string> plain = DecodeFile(std::string_view(*file).substr(8));
    ASSERT_TRUE(plain.ok());
    EXPECT_EQ(*plain, *writeProjectBody(o, "picture"));
}

TEST(ProjectWriter, TextsAreStoredInWindows1252) {
    MosaicOptions o = someOptions();
    o.Title = "Caf\xC3\xA9";                    // "Café"
    o.CustomText = "\xE2\x82\xAC\r\n\xC3\xA9";  // euro sign, CR LF, e acute
    Result<std::string> b = writeProjectBody(o, "");
    ASSERT_TRUE(b.ok());
    EXPECT_EQ(b->substr(267, 4), "Caf\xE9");
    EXPECT_EQ(b->substr(814, 1), "4");  // N counts characters
    EXPECT_EQ(b->substr(836, 4), "\x80\r\n\xE9");
}

TEST(ProjectWriter, FieldsThatDoNotFitRefuseTheSave) {
    struct Case {
        const char* name;
        void (*change)(MosaicOptions&);
        const char* reason;  // empty: written
    };
    const Case cases[] = {
        {"title of 512", [](MosaicOptions& o) { o.Title = std::string(512, 't'); }, ""},
        {"title of 513", [](MosaicOptions& o) { o.Title = std::string(513, 't'); },
         "The page title is longer than 512 characters."},
        {"CSS of 6",
         [](MosaicOptions& o) {
             o.CSSSize = 9999;
             o.CSSUnit = "px";
         },
         ""},
        {"CSS of 7",
         [](MosaicOptions& o) {
             o.CSSSize = 10000;
             o.CSSUnit = "px";
         },
         "The custom CSS size is longer than 6 characters."},
        {"output path of 265", [](MosaicOptions& o) { o.OutputPath = std::string(265, 'p'); }, ""},
        {"output path of 266", [](MosaicOptions& o) { o.OutputPath = std::string(266, 'p'); },
         "The output path is longer than 265 characters."},
    };
    for (const Case& c : cases) {
        MosaicOptions o = someOptions();
        c.change(o);
        Result<std::string> b = writeProjectBody(o, "x");
        EXPECT_EQ(b.ok() ? "" : b.error().reason, std::string(c.reason)) << c.name;
    }
    EXPECT_EQ(writeProjectBody(someOptions(), std::string(100'000'000, 'x')).error().reason,
              "The picture file is larger than 99,999,999 bytes.");
}

TEST(ProjectWriter, AnOutputPathOver256CharactersIsReplacedByAMadeUpName) {
    const std::string p256 = "/" + std::string(250, 'a') + ".html";
    ASSERT_EQ(p256.size(), 256u);
    EXPECT_EQ(projectOutputPath(p256, 0.5, 0.25), p256);
    const std::string p257 = "/" + p256;
    EXPECT_EQ(projectOutputPath(p257, 0.5, 0.25), "C:\\Mosaic0125.html");
    // Characters, not UTF-8 bytes, count: 256 e-acutes are 512 bytes.
    std::string accents;
    for (int i = 0; i < 256; ++i)
        accents += "\xC3\xA9";
    EXPECT_EQ(projectOutputPath(accents, 0.5, 0.25), accents);
    // Small products have an exponent in their text form; only digits are kept.
    const std::string tiny = projectOutputPath(p257, 0.00001, 0.5);
    EXPECT_EQ(tiny.substr(0, 9), "C:\\Mosaic");
    EXPECT_EQ(tiny.substr(tiny.size() - 5), ".html");
    EXPECT_EQ(tiny.find_first_not_of("0123456789", 9), tiny.size() - 5);
}

TEST(ProjectReader, ASavedProjectLoadsBackWithEveryOption) {
    struct Case {
        const char* name;
        void (*change)(MosaicOptions&);
        bool customCss;
    };
    const Case cases[] = {
        {"font -1, Smart Text", [](MosaicOptions&) {}, false},
        {"every mode and spacer at their ends",
         [](MosaicOptions& o) {
             o.Mode = 0;
             o.Spacer = 5;
             o.FontSize = 1;
         },
         false},
        {"machine code",
         [](MosaicOptions& o) {
             o.Mode = 4;
             o.Spacer = 0;
             o.FontSize = 7;
         },
         false},
        {"custom CSS in pixels",
         [](MosaicOptions& o) {
             o.FontSize = 8;
             o.CSSSize = 12;
             o.CSSUnit = "px";
         },
         true},
        {"custom CSS in points",
         [](MosaicOptions& o) {
             o.FontSize = 8;
             o.CSSSize = 0;
             o.CSSUnit = "pt";
         },
         true},
        {"custom CSS in percent",
         [](MosaicOptions& o) {
             o.FontSize = 8;
             o.CSSSize = 100;
             o.CSSUnit = "%";
         },
         true},
        {"lists without a selection",
         [](MosaicOptions& o) {
             o.FontSize = -1;
             o.Spacer = -1;
             o.Mode = -1;
         },
         false},
        {"colours at the ends", [](MosaicOptions& o) { o.BGColor = 0xFFFFFF; }, false},
        {"black",
         [](MosaicOptions& o) {
             o.BGColor = 0;
             o.OpenInBrowser = 0;
         },
         false},
        {"texts with line ends and accents",
         [](MosaicOptions& o) {
             o.CustomText = "one\r\ntwo \xC3\xA9\r\n\r\n";
             o.Title = "  \xE2\x82\xAC title";
         },
         false},
        {"empty texts",
         [](MosaicOptions& o) {
             o.CustomText.clear();
             o.Title.clear();
         },
         false},
    };
    const std::string picture = std::string("BM\0\r\n\x1A\xFF", 7) + "\r\n\r\n";
    for (const Case& c : cases) {
        MosaicOptions o = someOptions();
        c.change(o);
        Result<std::string> file = writeProjectFile(o, picture);
        ASSERT_TRUE(file.ok()) << c.name;
        Result<LoadedProject> loaded = readProject(*file);
        ASSERT_TRUE(loaded.ok()) << c.name << ": " << reasonOf(loaded);
        const MosaicOptions& l = loaded->options;
        EXPECT_EQ(loaded->version, 20053) << c.name;
        EXPECT_EQ(l.OutputPath, o.OutputPath) << c.name;
        // The title comes back trimmed.
        EXPECT_EQ(l.Title, o.Title.substr(o.Title.find_first_not_of(' ') == std::string::npos
                                              ? o.Title.size()
                                              : o.Title.find_first_not_of(' ')))
            << c.name;
        EXPECT_EQ(l.BGColor, o.BGColor) << c.name;
        EXPECT_EQ(l.FontSize, o.FontSize) << c.name;
        EXPECT_EQ(loaded->customCss, c.customCss) << c.name;
        if (c.customCss) {
            EXPECT_EQ(l.CSSSize, o.CSSSize) << c.name;
            EXPECT_EQ(l.CSSUnit, o.CSSUnit) << c.name;
        }
        EXPECT_EQ(l.Spacer, o.Spacer) << c.name;
        EXPECT_EQ(l.Mode, o.Mode) << c.name;
        EXPECT_EQ(l.OpenInBrowser, o.OpenInBrowser) << c.name;
        EXPECT_EQ(l.CustomText, o.CustomText) << c.name;
        EXPECT_TRUE(loaded->picture == picture) << c.name;
    }
}

TEST(ProjectReader, TheVersionChoosesTheLayoutAndTheModeNumbers) {
    struct Case {
        const char* header;
        bool layoutB;
        const char* mode;
        int expectedMode;
    };
    const Case cases[] = {
        {"TPF20053", true, "4", 4},  {"TPF10149", true, "4", 4},    {"TPF10148", false, "4", 4},
        {"TPF10117", false, "4", 4}, {"TPF10117", false, "5", 5},   {"TPF10116", false, "4", 5},
        {"TPF10116", false, "5", 6}, {"TPF10116", false, "3", 3},   {"TPF10116", false, "6", 6},
        {" TPF1010", false, "0", 0}, {"TPF10116", false, "-1", -1}, {"TPF20053", true, "-1", -1},
    };
    for (const Case& c : cases) {
        Fields f;
        f.mode = c.mode;
        Result<LoadedProject> loaded = readProject(fileOf(c.header, body(f, c.layoutB)));
        ASSERT_TRUE(loaded.ok()) << c.header << ": " << reasonOf(loaded);
        EXPECT_EQ(loaded->options.Mode, c.expectedMode) << c.header << " mode " << c.mode;
        EXPECT_EQ(loaded->options.CustomText, f.text) << c.header;
        EXPECT_EQ(loaded->picture, f.picture) << c.header;
    }
    // A layout-A body read as layout B (or the reverse) is refused, not misread.
    EXPECT_FALSE(readProject(fileOf("TPF10149", body(Fields{}, false))).ok());
    EXPECT_FALSE(readProject(fileOf("TPF10148", body(Fields{}, true))).ok());
}

TEST(ProjectReader, TheCustomCssFieldDecidesTheFontEntry) {
    struct Case {
        bool layoutB;
        const char* css;
        int font;
        bool custom;
        int size;
        const char* unit;
    };
    const Case cases[] = {
        {true, "12px", 8, true, 12, "px"}, {true, "  7pt", 8, true, 7, "pt"},
        {true, "60%", 8, true, 60, "%"},   {true, "100", 7, false, 60, "%"},
        {true, "", 7, false, 60, "%"},     {true, "em", 7, false, 60, "%"},
        {false, "", 7, false, 60, "%"},  // layout A has no CSS field
    };
    for (const Case& c : cases) {
        Fields f;
        f.font = "8";
        f.css = c.css;
        Result<LoadedProject> loaded =
            readProject(fileOf(c.layoutB ? "TPF20053" : "TPF10148", body(f, c.layoutB)));
        ASSERT_TRUE(loaded.ok()) << c.css << ": " << reasonOf(loaded);
        EXPECT_EQ(loaded->options.FontSize, c.font) << c.css;
        EXPECT_EQ(loaded->customCss, c.custom) << c.css;
        EXPECT_EQ(loaded->options.CSSSize, c.size) << c.css;
        EXPECT_EQ(loaded->options.CSSUnit, c.unit) << c.css;
    }
    // The CSS field counts only with the custom entry.
    Fields f;
    f.css = "junk";
    EXPECT_TRUE(readProject(fileOf("TPF20053", body(f))).ok());
}

TEST(ProjectReader, AFileThatFailsAnyCheckIsRefusedWithItsReason) {
    struct Case {
        const char* name;
        std::string file;
        const char* reason;
    };
    auto with = [](void (*change)(Fields&)) {
        Fields f;
        change(f);
        return fileOf("TPF20053", body(f));
    };
    const std::string good = fileOf("TPF20053", body(Fields{}));
    const Case cases[] = {
        {"not a project", "GIF89a" + good.substr(6), "The file is not a project."},
        {"lower-case mark", "tpf" + good.substr(3), "The file is not a project."},
        {"empty file", "", "The file is not a project."},
        {"header cut", "TPF2", "The encoded data has no encoder mark."},
        {"no version", "TPF     " + good.substr(8),
         "The project's header holds no version number."},
        {"version not a number", "TPF2005x" + good.substr(8),
         "The project's header holds no version number."},
        {"body not encoded", "TPF20053" + body(Fields{}), "The encoded data has no encoder mark."},
        {"body cut", good.substr(0, good.size() - 40), "The encoded data is cut short."},
        {"N empty", with([](Fields& f) { f.n = " "; }),
         "The custom text's length is not a number."},
        {"N starts with NUL", with([](Fields& f) {
             f.n = std::string(
                 "\0"
                 "11",
                 3);
         }),
         "The custom text's length is not a number."},
        {"N not a number", with([](Fields& f) { f.n = "eleven"; }),
         "The custom text's length is not a number."},
        {"N negative", with([](Fields& f) { f.n = "-1"; }),
         "The custom text's length (-1) is out of range."},
        {"M beyond the body", with([](Fields& f) { f.m = "17"; }),
         "The project holds less than its lengths state."},
        {"M one short", with([](Fields& f) { f.m = "15"; }), "The project's settings are damaged."},
        {"N beyond the body", with([](Fields& f) { f.n = "99999999"; }),
         "The project holds less than its lengths state."},
        {"N one short", with([](Fields& f) { f.n = "10"; }), "The project's settings are damaged."},
        {"colour above 24 bits", with([](Fields& f) { f.colour = "16777216"; }),
         "The background colour (16777216) is out of range."},
        {"colour negative", with([](Fields& f) { f.colour = "-1"; }),
         "The background colour (-1) is out of range."},
        {"colour in hex", with([](Fields& f) { f.colour = "&HFF"; }),
         "The background colour is not a number."},
        {"font size 9", with([](Fields& f) { f.font = "9"; }),
         "The font size (9) is out of range."},
        {"font size below no selection", with([](Fields& f) { f.font = "-2"; }),
         "The font size (-2) is out of range."},
        {"spacer below no selection", with([](Fields& f) { f.spacer = "-2"; }),
         "The spacer (-2) is out of range."},
        {"spacer 6", with([](Fields& f) { f.spacer = "6"; }), "The spacer (6) is out of range."},
        {"mode 7", with([](Fields& f) { f.mode = "7"; }), "The mode (7) is out of range."},
        {"CSS size not a size", with([](Fields& f) {
             f.font = "8";
             f.css = "x1px";
         }),
         "The custom CSS size (x1px) is not a size."},
        {"CSS size negative", with([](Fields& f) {
             f.font = "8";
             f.css = "-5px";
         }),
         "The custom CSS size (-5px) is not a size."},
        {"CSS size too large", with([](Fields& f) {
             f.font = "8";
             f.css = "99999%";
         }),
         "The custom CSS size (99999%) is not a size."},
        {"a field without its line end", fileOf("TPF20053", body(Fields{}).substr(1)),
         "The project's settings are damaged."},
        {"settings cut", fileOf("TPF20053", body(Fields{}).substr(0, 500)),
         "The project's settings are damaged."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(reasonOf(readProject(c.file)), c.reason) << c.name;
}

// The encoded header's stated plain length, in a whole project file.
void setStatedLength(std::string& file, std::uint64_t length) {
    for (int i = 0; i < 8; ++i)
        file[project::kHeaderSize + 4 + static_cast<std::size_t>(i)] =
            static_cast<char>((length >> (8 * i)) & 0xFF);
}

// The fields bound the body: nothing beyond the longest body they allow is inflated, bytes after
// the body are not kept, and a bad field is found before anything after the settings is inflated.
TEST(ProjectReader, NoBodyCostsMoreThanItsFieldsAllow) {
    const std::string tail(std::size_t{160} << 20, '\0');
    Fields badFont;
    badFont.font = "9";
    Fields badLength;
    badLength.m = "12x";
    struct Case {
        const char* name;
        std::string file;
        std::string reason;
    };
    std::vector<Case> cases = {
        {"a long tail after the body", fileOf("TPF20053", body(Fields{}) + tail), "<loaded>"},
        {"a bad field before a long body", fileOf("TPF20053", body(badFont) + tail),
         "The font size (9) is out of range."},
        {"a bad length before a long body", fileOf("TPF10148", body(badLength, false) + tail),
         "The picture's length is not a number."},
    };
    const struct {
        const char* name;
        const char* header;
        std::uint64_t length;
        const char* reason;
    } stated[] = {
        {"layout B beyond its longest body", "TPF20053", project::kMaxBodyB + 1,
         "The encoded data states a length beyond what can be decoded."},
        {"layout A beyond its longest body", "TPF10148", project::kMaxBodyB - 8 + 1,
         "The encoded data states a length beyond what can be decoded."},
        {"layout B at its longest body", "TPF20053", project::kMaxBodyB,
         "The encoded data states a length its bytes cannot hold."},
    };
    for (const auto& s : stated) {
        std::string file = fileOf(s.header, body(Fields{}));
        setStatedLength(file, s.length);
        cases.push_back({s.name, file, s.reason});
    }
    for (const Case& c : cases) {
        testing::AddressSpaceLimit limit(std::size_t{48} << 20);
        if (!limit.active())
            GTEST_SKIP() << "the address space cannot be limited here";
        EXPECT_EQ(reasonOf(readProject(c.file)), c.reason) << c.name;
    }
}

TEST(ProjectReader, TheHeaderAloneGivesTheVersion) {
    EXPECT_EQ(*readProjectVersion("TPF20053..."), 20053);
    EXPECT_EQ(*readProjectVersion("TPF10149"), 10149);
    EXPECT_EQ(*readProjectVersion(" TPF1014"), 1014);  // blanks around the header are trimmed
    EXPECT_EQ(*readProjectVersion("TPF99999 and more"), 99999);
    EXPECT_FALSE(readProjectVersion("TPX20053").ok());
}

// The two readers of whole files the user names: a project and a graphics library.
TEST(ProjectReader, OnlyARegularFileWithinTheSizeCapIsRead) {
    namespace fs = std::filesystem;
    struct Reader {
        const char* name;
        Result<std::string> (*read)(const std::string&);
        std::int64_t cap;
        const char* tooLarge;
    };
    const Reader readers[] = {
        {"project", readProjectFile, project::kMaxFileSize, "is too large for a project."},
        {"library", readLibraryFile, library::kMaxFileSize, "is too large for a graphics library."},
    };
    for (const Reader& r : readers) {
        SCOPED_TRACE(r.name);
        testing::TempFolder folder("reader");
        const std::string small = folder.write("small.tpw", std::string("TPF\0\r\n", 6));
        Result<std::string> read = r.read(small);
        ASSERT_TRUE(read.ok()) << read.error().reason;
        EXPECT_EQ(*read, std::string("TPF\0\r\n", 6));

        // Sparse files: they take no disk space.
        const std::string atCap = folder.write("cap.tpw", "");
        fs::resize_file(atCap, static_cast<std::uintmax_t>(r.cap));
        read = r.read(atCap);
        ASSERT_TRUE(read.ok()) << read.error().reason;
        EXPECT_EQ(read->size(), static_cast<std::size_t>(r.cap));
        const std::string overCap = folder.write("over.tpw", "");
        fs::resize_file(overCap, static_cast<std::uintmax_t>(r.cap) + 1);
        read = r.read(overCap);
        ASSERT_FALSE(read.ok());
        EXPECT_EQ(read.error().reason, "\"" + overCap + "\" " + r.tooLarge);

        EXPECT_EQ(r.read(folder.path()).error().reason, "\"" + folder.path() + "\" is not a file.");
        const Result<std::string> missing = r.read(folder.file("missing.tpw"));
        ASSERT_FALSE(missing.ok());
        EXPECT_NE(missing.error().reason.find(folder.file("missing.tpw")), std::string::npos);

        // A pipe without a writer: opening it to read would wait for ever.
        const std::string pipe = folder.file("pipe.tpw");
        ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
        EXPECT_EXIT(
            {
                ::alarm(10);  // a reader that waits is ended here and fails the test
                const Result<std::string> piped = r.read(pipe);
                std::_Exit(!piped.ok() && piped.error().reason == "\"" + pipe + "\" is not a file."
                               ? 0
                               : 1);
            },
            ::testing::ExitedWithCode(0), "");
    }
}

}  // namespace
}  // namespace tess
