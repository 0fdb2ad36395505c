// Writing a settings file's new content: through its links, by the file
// layer's replacement where a new file can stand in for the old one, in
// place where not (a folder that takes no new file, a mount point).
#include <cstdint>
#include <filesystem>
#include <optional>

#include "settings/file_io.h"
#include "settings/file_transfers.h"
#include "streams/file_names.h"
#include "streams/file_replacement.h"
#include "streams/wide_names.h"

namespace pellimar {
namespace {

enum class Outcome { Done, Failed, NotPossible };

// A new file that would not keep the old one's owner, group, access control
// list or attributes is no stand-in for it.
Outcome ReplaceByNewFile(const std::string& target, std::string_view bytes, bool replacing)
{
    FileReplacement replacement;
    switch (replacement.Begin(target, replacing)) {
    case ReplacementStart::Ready:
        break;
    case ReplacementStart::FolderRefuses:
        return replacing ? Outcome::NotPossible : Outcome::Failed;
    case ReplacementStart::Failed:
        return Outcome::Failed;
    }
    if (!replacement.NotKept().empty())
        return Outcome::NotPossible;
    if (!WriteAllAt(replacement.File(), bytes, 0))
        return Outcome::Failed;
    return replacement.PutInPlace(true) == Placement::Done ? Outcome::Done : Outcome::Failed;
}

// Rewrites the open file where it stands. Unlike a replacement this is not
// atomic: a crash of the system in the middle can leave a mix of old and new
// bytes. A copy of the old file beside it would need the very folder that
// may take no new file, so the old bytes are kept in memory instead and put
// back when a write fails (a full disk, a size limit): new bytes go over the
// old ones before the file is cut to length, which needs no new space until
// the new content grows past the old.
bool RewriteInPlace(NativeFile& file, std::string_view bytes)
{
    std::string old;
    if (!ReadUpTo(file, SIZE_MAX, old))
        return false;
    if (WriteAllAt(file, bytes, 0) && file.CutTo(static_cast<std::int64_t>(bytes.size())) && file.Sync())
        return true;
    if (WriteAllAt(file, old, 0) && file.CutTo(static_cast<std::int64_t>(old.size())))
        file.Sync();
    return false;
}

}  // namespace

bool ReplaceFileContents(const std::string& path, std::string_view bytes)
{
    const std::optional<std::filesystem::path> followed = FollowLinks(PathOfName(path));
    if (!followed)
        return false;
    const std::string target = NameOfPath(*followed);
    // Opening for reading and writing, without emptying, is the test of
    // whether this process may change the file at all; reading is what an
    // in-place rewrite needs to put the old bytes back.
    NativeFile file = NativeFile::OpenExistingForUpdate(target);
    if (!file.IsOpen())
        return !IdentityOfName(target) && ReplaceByNewFile(target, bytes, false) == Outcome::Done;
    // A file made read-only stays so for a privileged user too, whom the
    // system lets open it all the same.
    const std::optional<FileFacts> facts = file.Facts();
    if (!facts || facts->kind != FileKind::Regular || facts->readOnly)
        return false;
    if (facts->links == 1) {
        // Let go while it is replaced: on Windows a file held without
        // sharing refuses the move.
        file.Close();
        const Outcome replaced = ReplaceByNewFile(target, bytes, true);
        if (replaced != Outcome::NotPossible)
            return replaced == Outcome::Done;
        file = NativeFile::OpenExistingForUpdate(target);
        if (!file.IsOpen())
            return false;
    }
    return RewriteInPlace(file, bytes);
}

}  // namespace pellimar
