#pragma once

#include <cstdint>
#include <string>

#include "platform/Clock.h"

namespace tess {

// The Help menu's and the about panel's pages on the maker's site.
enum class WebCommand { Help, Contact, Bug, Donate, Update, Birthday, DesignerLink, DeveloperLink };

// What the update check says about the running instance.
struct InstanceFacts {
    std::int64_t instanceHandle = 0;
    bool otherInstanceRunning = false;
    std::int64_t threadId = 0;
    std::string title;
};

// The version numbers an address carries; the program's own unless a caller says otherwise.
struct WebVersion {
    int major;
    int minor;
    int revision;
    int beta;
};
WebVersion programWebVersion();

// The site every address starts with: plain HTTP on the page generator's host.
std::string siteAddress();
// Major "." minor "." the revision in three digits: 2.0 revision 53 is "2.0.053".
std::string webVersionText(const WebVersion& version = programWebVersion());
// "?mj=..&mn=..&rv=..&bv=..&other=handle|True|thread|title", nothing escaped.
std::string updateQuery(const InstanceFacts& facts,
                        const WebVersion& version = programWebVersion());
// The whole address a command opens.
std::string webAddress(WebCommand command, const InstanceFacts& facts,
                       const WebVersion& version = programWebVersion());
// The birthday item shows on 24 December only.
bool isBirthday(const DateTime& today);

// The handles the two credit links send.
inline constexpr const char* kDesignerHandle = "ilse";
inline constexpr const char* kDeveloperHandle = "orvalt";

}  // namespace tess
