#include "unrar/volume_names.h"

#include <regex>

namespace zk::unrar {
namespace {

std::string incrementDigits(std::string digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return digits;
        }
        *it = '0';
    }
    return "1" + digits;
}

}  // namespace

std::string nextVolumeName(const std::string& current) {
    static const std::regex partScheme(R"(^(.*\.part)([0-9]+)(\.rar)$)", std::regex::icase);
    static const std::regex oldScheme(R"(^(.*\.)([a-zA-Z])([0-9]{2})$)");
    std::smatch match;
    if (std::regex_match(current, match, partScheme))
        return match[1].str() + incrementDigits(match[2].str()) + match[3].str();

    static const std::regex rarExt(R"(^(.*\.)([rR])[aA][rR]$)");
    if (std::regex_match(current, match, rarExt))
        return match[1].str() + (match[2].str() == "R" ? "R00" : "r00");
    if (std::regex_match(current, match, oldScheme)) {
        const std::string number = match[3].str();
        if (number != "99")
            return match[1].str() + match[2].str() + incrementDigits(number);
        const char letter = match[2].str()[0];
        if (letter == 'z' || letter == 'Z')
            return {};
        return match[1].str() + static_cast<char>(letter + 1) + "00";
    }
    return {};
}

}  // namespace zk::unrar
