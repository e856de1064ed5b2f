#include <gtest/gtest.h>

#include "ui/about/VersionText.h"

using namespace Qt::StringLiterals;

namespace mdb {

TEST(VersionText, TheZerosBeforeMinorAndRevisionAreText) {
    EXPECT_EQ(versionText(2, 5, 83), u"Version 2.05.0083"_s);
    EXPECT_EQ(versionText(2, 12, 0), u"Version 2.012.000"_s);
    EXPECT_EQ(versionText(10, 0, 1234), u"Version 10.00.001234"_s);
}

}  // namespace mdb
