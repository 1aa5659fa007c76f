// The report of items not shredded: one item in the singular, more in the plural with the count.
#include "job/job_text.h"

#include <gtest/gtest.h>

namespace {

TEST(JobText, NotShreddedMessageSaysOneOrMany) {
    EXPECT_EQ(L"1 item could not be shredded. It remains in the list.", NotShreddedMessage(1));
    EXPECT_EQ(L"2 items could not be shredded. They remain in the list.", NotShreddedMessage(2));
    EXPECT_EQ(L"7 items could not be shredded. They remain in the list.", NotShreddedMessage(7));
}

} // namespace
