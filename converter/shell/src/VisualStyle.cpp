#include "shell/VisualStyle.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <system_error>

#include "platform/Files.h"
#include "platform/OwnFiles.h"
#include "platform/Runtime.h"
#include "platform/Text.h"
#include "shell/ProgramVersion.h"

namespace tess {

namespace {

// The maker's name stands before the company's own in the version data.
constexpr std::string_view kMakerPrefix = "Tessaryn Works / ";

// The version our desktop is taken to be: newer than every version the tests ask about.
constexpr unsigned kDesktopMajor = 10;
constexpr unsigned kDesktopMinor = 0;

std::string removeAll(std::string text, std::string_view what) {
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at))
        text.erase(at, what.size());
    return text;
}

}  // namespace

VersionData programVersionData() {
    return {"Tessaryn Works / Tessaryn Team",
            "tessaryn q4",
            std::string(kProgramTitle),
            kVersionMajor,
            kVersionMinor,
            kVersionRevision};
}

std::string manifestIdentityName(const VersionData& data) {
    std::string name =
        removeAll(data.companyName, kMakerPrefix) + "." + data.productName + "." + data.title;
    for (char& c : name) {
        if (c == ' ')
            c = '-';
    }
    return name;
}

std::string manifestText(const VersionData& data) {
    const std::string version = std::to_string(data.major) + "." + std::to_string(data.minor) +
                                ".0." + std::to_string(data.revision);
    const std::array<std::string, 22> lines = {
        R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)",
        R"(<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">)",
        "<assemblyIdentity",
        R"(    processorArchitecture="X86")",
        "    name=\"" + manifestIdentityName(data) + "\"",
        "    version=\"" + version + "\"",
        R"(    type="win32")",
        "/>",
        "<description>" + data.title + "</description>",
        "<dependency>",
        "    <dependentAssembly>",
        "        <assemblyIdentity",
        R"(            type="win32")",
        R"(            name="Microsoft.Windows.Common-Controls")",
        R"(            version="6.0.0.0")",
        R"(            processorArchitecture="X86")",
        R"(            publicKeyToken="6595b64144ccf1df")",
        R"(            language="*")",
        "        />",
        "    </dependentAssembly>",
        "</dependency>",
        "</assembly>",
    };
    std::string text;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (k > 0)
            text += "\r\n";
        text += lines[k];
    }
    return text;
}

std::string manifestPath(const std::string& folder, std::string_view programFileName) {
    return joinPath(folder, rt::toLower(programFileName) + ".exe.manifest");
}

Status WriteXPManifest(bool enable, const std::string& folder) {
    const std::string path = manifestPath(folder, kProgramFileName);
    const bool exists = FileExists(path);
    if (!enable) {
        if (exists && std::remove(path.c_str()) != 0)
            return Error{errc::PermissionDenied, "Cannot delete \"" + path + "\": " +
                                                     std::generic_category().message(errno)};
        return {};
    }
    if (exists)
        return {};
    return writeOwnFile(path, cp1252::fromUtf8(manifestText(programVersionData())));
}

bool manifestPresent(const std::string& folder) {
    return FileExists(manifestPath(folder, kProgramFileName));
}

const char* converterStyleName(bool withManifest) {
    return withManifest ? "Fusion" : "Windows";
}

int windowsVersionNumber(unsigned major, unsigned minor) {
    const std::string text = std::to_string(major) + std::to_string(minor).substr(0, 1);
    return static_cast<int>(rt::val(text));
}

bool isXPOrLater(unsigned major, unsigned minor) {
    return windowsVersionNumber(major, minor) >= 51;
}

bool IsWinXPOrLater() {
    return isXPOrLater(kDesktopMajor, kDesktopMinor);
}

}  // namespace tess
