// Places of names, asked of the system.
#include "streams/file_places.h"

#include "streams/file_names.h"
#include "streams/native_file.h"
#include "streams/wide_names.h"

namespace pellimar {

std::optional<FilePlace> PlaceOfName(const std::string& name)
{
    if (name.empty() || DeviceOfName(name))
        return std::nullopt;
    const std::optional<std::filesystem::path> target = FollowLinks(PathOfName(name));
    if (!target)
        return std::nullopt;
    FilePlace place;
    place.file = IdentityOfName(NameOfPath(*target));
    if (place.file)
        return place;
    const std::filesystem::path folder = target->parent_path();
    place.folder = IdentityOfName(folder.empty() ? std::string(".") : NameOfPath(folder));
    if (!place.folder)
        return std::nullopt;
    place.name = NameOfPath(target->filename());
    return place;
}

bool SamePlace(const FilePlace& a, const FilePlace& b)
{
    if (a.file || b.file)
        return a.file == b.file;
    return a.folder == b.folder && SameFileName(a.name, b.name);
}

bool SameFile(const std::string& a, const std::string& b)
{
    const std::optional<FilePlace> placeOfA = PlaceOfName(a);
    const std::optional<FilePlace> placeOfB = PlaceOfName(b);
    return placeOfA && placeOfB && placeOfA->file && placeOfA->file == placeOfB->file;
}

}  // namespace pellimar
