// The activation rule that both window systems' views follow.
#include "ui/FormActivation.h"

#include <gtest/gtest.h>

namespace tabbern::test {
namespace {

TEST(FormActivation, OnlyAChangeOfFormIsAnActivation) {
    FormActivation activation;
    Form main{"frmMain"};
    Form add{"frmAddName"};
    Form rename{"frmEditGroupName"};

    EXPECT_TRUE(activation.becameActive(main)) << "the first window shown";
    EXPECT_TRUE(activation.becameActive(add)) << "a dialog shown over it";
    // A message box over the dialog closes and hands the focus back: no activation.
    EXPECT_FALSE(activation.becameActive(add));
    EXPECT_EQ(activation.active(), &add);

    // The dialog hides; the main window takes the focus back, and that is a change of form.
    activation.gone(add);
    EXPECT_EQ(activation.active(), nullptr);
    EXPECT_TRUE(activation.becameActive(main));

    // A modeless dialog and the main window: each switch is an activation.
    EXPECT_TRUE(activation.becameActive(rename));
    EXPECT_TRUE(activation.becameActive(main));
    EXPECT_TRUE(activation.becameActive(rename));

    // A form that is not the active one going away changes nothing.
    activation.gone(main);
    EXPECT_EQ(activation.active(), &rename);
    EXPECT_FALSE(activation.becameActive(rename));

    // Shown again after hiding, the same dialog is activated again.
    activation.gone(rename);
    EXPECT_TRUE(activation.becameActive(rename));
}

} // namespace
} // namespace tabbern::test
