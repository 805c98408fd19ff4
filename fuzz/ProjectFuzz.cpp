// The project reader and the file decoder take any bytes: they must end, stay inside their input
// and never allocate beyond the cap. What they accept must survive being written and read again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "projects/FileEncoder.h"
#include "projects/ProjectFile.h"

namespace {

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void checkProject(std::string_view bytes) {
    const tess::Result<tess::LoadedProject> project = tess::readProject(bytes);
    if (project) {
        const tess::LoadedProject& p = project.value();
        const tess::Result<std::string> file = tess::writeProjectFile(p.options, p.picture);
        require(file.ok());
        const tess::Result<tess::LoadedProject> back = tess::readProject(file.value());
        require(back.ok());
        const tess::MosaicOptions& a = p.options;
        const tess::MosaicOptions& b = back.value().options;
        require(a.Title == b.Title && a.BGColor == b.BGColor && a.FontSize == b.FontSize &&
                a.Spacer == b.Spacer && a.Mode == b.Mode && a.CustomText == b.CustomText &&
                back.value().picture == p.picture);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const tess::Result<std::string> plain = tess::DecodeFile(bytes);
    if (plain) {
        const tess::Result<std::string> again = tess::EncodeFile(std::string_view(plain.value()));
        require(again.ok());
        const tess::Result<std::string> back = tess::DecodeFile(std::string_view(again.value()));
        require(back.ok() && back.value() == plain.value());
    }

    checkProject(bytes);
    // The check sum keeps mutated bodies from the settings reader: the bytes are also taken as
    // the plain body of a file of each layout.
    const tess::Result<std::string> body = tess::EncodeFile(bytes);
    require(body.ok());
    for (const std::string_view header : {"TPF20053", "TPF10116"}) {
        checkProject(std::string(header) + body.value() + "\r\n");
    }
    return 0;
}
