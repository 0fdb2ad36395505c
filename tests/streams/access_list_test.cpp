// The permissions a new file gets from its folder's default access control
// list: the owner's, the mask's (or the owning group's) and the others'
// entries, cut down to the permissions asked for.
#include "streams/access_list.h"

#include <gtest/gtest.h>

#include "support/access_lists.h"

namespace pellimar {
namespace {

using enum testing::AccessTag;
using testing::AccessList;
using testing::kAnyone;
using testing::kNobody;

TEST(ModeInherited, TheRequestedBitsBoundTheOwnerTheMaskAndTheOthers)
{
    struct Case {
        std::string folderDefault;
        unsigned requested;
        unsigned mode;
    };
    const std::vector<Case> cases = {
        // With a mask, the mask stands for the group bits.
        {AccessList({{kOwnerEntry, 7, kAnyone}, {kUserEntry, 7, kNobody}, {kGroupEntry, 5, kAnyone},
                     {kMaskEntry, 7, kAnyone}, {kOthersEntry, 5, kAnyone}}),
         0666, 0664},
        // Without one, the owning group does.
        {AccessList({{kOwnerEntry, 6, kAnyone}, {kGroupEntry, 6, kAnyone}, {kOthersEntry, 6, kAnyone}}), 0640, 0640},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.mode, ModeInherited(c.folderDefault, c.requested));
}

TEST(ModeInherited, BytesOfNoKnownFormAreNoList)
{
    const std::string list = AccessList({{kOwnerEntry, 6, kAnyone}, {kGroupEntry, 4, kAnyone}, {kOthersEntry, 4, kAnyone}});
    std::string otherVersion = list;
    otherVersion[0] = 3;
    const std::string withoutOthers = AccessList({{kOwnerEntry, 6, kAnyone}, {kGroupEntry, 4, kAnyone}});
    const std::string withoutOwner = AccessList({{kGroupEntry, 4, kAnyone}, {kOthersEntry, 4, kAnyone}});
    const std::string withoutGroup = AccessList({{kOwnerEntry, 6, kAnyone}, {kOthersEntry, 4, kAnyone}});
    for (const std::string& bytes : {std::string(), std::string("\x02\0\0", 3), list + "x", otherVersion,
                                     withoutOthers, withoutOwner, withoutGroup})
        EXPECT_FALSE(ModeInherited(bytes, 0666));
    EXPECT_EQ(0644u, ModeInherited(list, 0666));
}

}  // namespace
}  // namespace pellimar
