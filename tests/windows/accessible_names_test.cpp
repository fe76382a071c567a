#include "windows/window_fixture.h"

#include <QAccessible>
#include <QSet>

namespace {

QAccessibleInterface* accessibleOf(QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget);
}

} // namespace

TEST_F(WindowTest, PictureButtonsReadAsNamedPushButtons) {
    const std::pair<PictureButton*, const char*> buttons[] = {
        {form1->img_left, "前へ"},       {form1->img_right, "次へ"},
        {form1->img_start, "START"},     {form1->img_giveup, "GIVE UP"},
        {form1->img_repeat, "REPEAT"},   {form1->img_check, "Check"},
        {form1->img_delete, "Delete"},   {form1->img_setting, "Setting"},
        {form1->img_exit, "Exit"},
    };
    for (const auto& [button, name] : buttons) {
        SCOPED_TRACE(name);
        QAccessibleInterface* accessible = accessibleOf(button);
        ASSERT_NE(accessible, nullptr);
        EXPECT_EQ(accessible->text(QAccessible::Name), QString::fromUtf8(name));
        EXPECT_EQ(accessible->role(), QAccessible::Button);
        ASSERT_NE(accessible->actionInterface(), nullptr);
        EXPECT_TRUE(accessible->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::pressAction()));
    }
}

TEST_F(WindowTest, EveryNamedControlHasItsOwnName) {
    QSet<QString> seen;
    for (auto* button : form1->findChildren<PictureButton*>()) {
        EXPECT_FALSE(button->accessibleName().isEmpty());
        EXPECT_FALSE(seen.contains(button->accessibleName())) << qPrintable(button->accessibleName());
        seen.insert(button->accessibleName());
    }
    for (auto* selector : form1->findChildren<FlatButton*>()) {
        if (selector->window() != form1.get())
            continue; // a child window's button, which reads its caption
        EXPECT_FALSE(selector->accessibleName().isEmpty()) << "a triangle says nothing when read";
    }
    for (AutoLabel* tab :
         {form1->Lbl_gakusyuu, form1->Lbl_testgakusyuu, form1->Lbl_test, form1->Lbl_seiseki}) {
        EXPECT_EQ(tab->accessibleName(), tab->caption());
        EXPECT_FALSE(tab->accessibleDescription().isEmpty());
    }
    for (QWidget* window : std::initializer_list<QWidget*>{form1.get(), form2.get(), form3.get(),
                                                          form4.get(), form6.get()})
        EXPECT_FALSE(accessibleOf(window)->text(QAccessible::Name).isEmpty())
            << window->metaObject()->className();
}

// The press a screen reader asks for is the press of the mouse: F2's button moves on a slot.
TEST_F(WindowTest, PressActionMovesLikeAClick) {
    const int before = form1->state().sentence.currentSlot;
    accessibleOf(form1->img_right)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(form1->state().sentence.currentSlot, before + 1);
    EXPECT_FALSE(form1->img_right->isHiddenByPress()) << "the release shows the button again";
}
