#include "unrar/marker_search.h"

#include <algorithm>
#include <vector>

namespace zk::unrar {

std::streamoff offsetAfterMarker(std::ifstream& file, const std::uint8_t* marker, std::size_t size)
{
    constexpr std::streamoff kStubSearch = 1 << 20;
    std::vector<std::uint8_t> head(static_cast<std::size_t>(kStubSearch));
    file.seekg(0);
    file.read(reinterpret_cast<char*>(head.data()), kStubSearch);
    head.resize(static_cast<std::size_t>(file.gcount()));
    file.clear();
    const auto found = std::search(head.begin(), head.end(), marker, marker + size);
    if (found == head.end())
        return -1;
    return (found - head.begin()) + static_cast<std::streamoff>(size);
}

} // namespace zk::unrar
