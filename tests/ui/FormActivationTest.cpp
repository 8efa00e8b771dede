// The activation rule that both window systems' views follow.
#include "ui/FormActivation.h"

#include <gtest/gtest.h>

namespace tabbern::test {
namespace {

TEST(FormActivation, OnlyAChangeOfFormIsAnActivation) {
    FormActivation activation;
    Form main{"frmMain"}, add{"frmAddName"}, rename{"frmEditGroupName"};
    EXPECT_TRUE(activation.becameActive(main)) << "the first window shown";
    EXPECT_TRUE(activation.becameActive(add)) << "a dialog shown over it";
    EXPECT_FALSE(activation.becameActive(add)) << "a message box over it handing the focus back";
    EXPECT_EQ(activation.active(), &add);
    activation.gone(add);
    EXPECT_EQ(activation.active(), nullptr);
    EXPECT_TRUE(activation.becameActive(main)) << "the focus back after the dialog hid";
    // A modeless dialog and the main window: each switch is an activation.
    EXPECT_TRUE(activation.becameActive(rename));
    EXPECT_TRUE(activation.becameActive(main));
    EXPECT_TRUE(activation.becameActive(rename));
    activation.gone(main);
    EXPECT_EQ(activation.active(), &rename) << "a form that is not the active one went away";
    EXPECT_FALSE(activation.becameActive(rename));
    activation.gone(rename);
    EXPECT_TRUE(activation.becameActive(rename)) << "shown again after hiding";
}

} // namespace
} // namespace tabbern::test
