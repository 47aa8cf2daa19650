#include "tools/extract_trace/detect_command.h"

#include "tools/extract_trace/command_line.h"

#include "archive/zip_common.h"

int RunDetect(const std::string& archive, std::ostream& out, std::ostream& err)
{
    TZipCommon component(nullptr);
    bool errorReported = false;
    component.OnError = [&](TObject*, const std::string& fn, const std::string&, int32_t code) {
        errorReported = true;
        out << "error " << code << ' ' << fn << '\n';
    };
    try {
        component.SetArchiveFile(archive);
    } catch (const Exception& e) {
        err << "extract-trace: " << e.what() << '\n';
        errorReported = true;
    }
    out << "type " << ArcTypeName(component.ArcType()) << '\n';
    return errorReported ? kExitFailure : kExitSuccess;
}
