// What a new file inherits from its folder's default access control list:
// the entries that the requested permissions bound, cut down to them.
#include "streams/access_list.h"

#include <gtest/gtest.h>

#include "support/access_lists.h"

namespace pellimar {
namespace {

using enum testing::AccessTag;
using testing::AccessList;
using testing::kAnyone;
using testing::kNobody;

TEST(InheritAccess, TheRequestedBitsBoundTheOwnerTheMaskAndTheOthers)
{
    struct Case {
        std::string folderDefault;
        unsigned requested;
        std::string list;
        unsigned mode;
    };
    const std::vector<Case> cases = {
        // With a mask, the mask stands for the group bits; named entries
        // and the owning group keep theirs.
        {AccessList({{kOwnerEntry, 7, kAnyone}, {kUserEntry, 7, kNobody}, {kGroupEntry, 5, kAnyone},
                     {kMaskEntry, 7, kAnyone}, {kOthersEntry, 5, kAnyone}}),
         0666,
         AccessList({{kOwnerEntry, 6, kAnyone}, {kUserEntry, 7, kNobody}, {kGroupEntry, 5, kAnyone},
                     {kMaskEntry, 6, kAnyone}, {kOthersEntry, 4, kAnyone}}),
         0664},
        // Without one, the owning group does.
        {AccessList({{kOwnerEntry, 6, kAnyone}, {kGroupEntry, 6, kAnyone}, {kOthersEntry, 6, kAnyone}}), 0640,
         AccessList({{kOwnerEntry, 6, kAnyone}, {kGroupEntry, 4, kAnyone}, {kOthersEntry, 0, kAnyone}}), 0640},
    };
    for (const Case& c : cases) {
        const std::optional<InheritedAccess> inherited = InheritAccess(c.folderDefault, c.requested);
        ASSERT_TRUE(inherited);
        EXPECT_EQ(c.list, inherited->list);
        EXPECT_EQ(c.mode, inherited->mode);
    }
}

TEST(InheritAccess, BytesOfNoKnownFormAreNoList)
{
    const std::string list = AccessList({{kOwnerEntry, 6, kAnyone}});
    std::string otherVersion = list;
    otherVersion[0] = 3;
    for (const std::string& bytes : {std::string(), std::string("\x02\0\0", 3), list + "x", otherVersion})
        EXPECT_FALSE(InheritAccess(bytes, 0666));
}

}  // namespace
}  // namespace pellimar
