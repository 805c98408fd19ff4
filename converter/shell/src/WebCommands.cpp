#include "shell/WebCommands.h"

#include "engine/PageFormat.h"
#include "platform/Files.h"
#include "shell/ProgramVersion.h"

namespace tess {

WebVersion programWebVersion() {
    return {kVersionMajor, kVersionMinor, kVersionRevision, kBetaNumber};
}

std::string siteAddress() {
    return "http://" + std::string(page::kGeneratorSite);
}

std::string webVersionText(const WebVersion& version) {
    return versionText(version.major, version.minor, version.revision);
}

std::string updateQuery(const InstanceFacts& facts, const WebVersion& version) {
    return "?mj=" + std::to_string(version.major) + "&mn=" + std::to_string(version.minor) +
           "&rv=" + ThreeDigits(std::to_string(version.revision)) +
           "&bv=" + std::to_string(version.beta) + "&other=" + std::to_string(facts.instanceHandle) +
           "|" + (facts.otherInstanceRunning ? "True" : "False") + "|" +
           std::to_string(facts.threadId) + "|" + facts.title;
}

std::string webAddress(WebCommand command, const InstanceFacts& facts,
                       const WebVersion& version) {
    std::string path;
    switch (command) {
        case WebCommand::Help:
            path = "/q4/help/";
            break;
        case WebCommand::Contact:
            path = "/contact.shtml?pf=tesinq&f=Tessaryn&v=" + webVersionText(version);
            break;
        case WebCommand::Bug:
            path = "/contact.shtml?pf=tesbug&f=Tessaryn&v=" + webVersionText(version);
            break;
        case WebCommand::Donate:
            path = "/cgi-bin/q4/donate.pl";
            break;
        case WebCommand::Update:
            path = "/cgi-bin/q4/update.pl" + updateQuery(facts, version);
            break;
        case WebCommand::Birthday:
            path = "/cgi-bin/q4/birthday.pl";
            break;
        case WebCommand::DesignerLink:
            path = std::string("/cgi-bin/q4/linkme.pl?who=") + kDesignerHandle;
            break;
        case WebCommand::DeveloperLink:
            path = std::string("/cgi-bin/q4/linkme.pl?who=") + kDeveloperHandle;
            break;
    }
    return siteAddress() + path;
}

bool isBirthday(const DateTime& today) {
    return today.month == 12 && today.day == 24;
}

}  // namespace tess
