#include "engine/PageFormat.h"

#include "engine/MosaicOptions.h"
#include "platform/Runtime.h"
#include "platform/Text.h"

namespace tess::page {

namespace {

std::string descriptionLine() {
    std::string line = "<meta name=\"Description\" content=\"tessaryn q4, http://";
    line += kGeneratorSite;
    line += "/q4/\">";
    return line;
}

std::string generatorLine() {
    std::string line(kGeneratorLineStart);
    line += generatorBanner();
    line += "\">";
    return line;
}

}  // namespace

std::string generatorBanner() {
    std::string banner(kGeneratorSite);
    banner += kBannerTail;
    return banner;
}

std::string colourText(Colour c) {
    const int red = c & 255;
    const int green = (c / 256) & 255;
    const int blue = (c & 0xFF0000) / 65536;
    std::string text = "#";
    text += rt::hex2(red);
    text += rt::hex2(green);
    text += rt::hex2(blue);
    return text;
}

std::string head(const MosaicOptions& options) {
    const std::string title = cp1252::fromUtf8(options.Title);
    const std::string background = "<body bgcolor=\"" + options.bgColourText() + "\">";
    std::string text;
    auto line = [&text](std::string_view piece) {
        text += piece;
        text += kCrLf;
    };
    if (options.isCssPage()) {
        line("<html>");
        line("<head>");
        line(generatorLine());
        line(descriptionLine());
        line("<title>" + title + "</title>");
        line("</head>");
        line("");
        line(background);
        line("<style type=\"text/css\">");
        line(" <!--");
        line("  pre { font-size: " + options.sizeText() + " }");
        line(" -->");
        line("</style>");
        text += "<center><pre>";
    } else {
        line("<html><head>");
        line(generatorLine());
        line(descriptionLine());
        line("<title>" + title + "</title></head>");
        line("");
        line(background);
        text += "<center><pre><font size=\"" + options.sizeText() + "\">";
    }
    return text;
}

std::string_view trailer(bool cssPage, bool cancelled) {
    if (cssPage) {
        return cancelled
                   ? "</font></pre><br><br><h2><font color=\"#FFFFFF\">FILE INCOMPLETE!</font>"
                     "</h2></center>\r\n</body>\r\n</html>"
                   : "</font></pre></center>\r\n</body>\r\n</html>";
    }
    return cancelled ? "</font></font></pre><br><br><h2><font color=\"#FFFFFF\">FILE INCOMPLETE!"
                       "</font></h2></center>\r\n</body>\r\n</html>"
                     : "</font></font></pre></center>\r\n</body>\r\n</html>";
}

}  // namespace tess::page
