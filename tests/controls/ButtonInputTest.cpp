#include "ButtonTestSupport.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QPoint Inside(20, 12);

QStringList strings(std::initializer_list<const char *> items)
{
    QStringList list;
    for (const char *item : items)
        list << QString::fromLatin1(item);
    return list;
}

void sendKey(QWidget *target, QEvent::Type type, int key, const QString &text = QString(), bool autoRepeat = false,
    Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent event(type, key, modifiers, text, autoRepeat);
    QCoreApplication::sendEvent(target, &event);
}

// Notes whether the button was ever painted in its pressed look.
struct PaintWatcher : QObject
{
    explicit PaintWatcher(gxButtons_H *watched)
        : button(watched)
    {
        button->installEventFilter(this);
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && button->state().pressedLook())
            sawPressedLook = true;
        return false;
    }

    gxButtons_H *button;
    bool sawPressedLook = false;
};

// ---------------------------------------------------------------------------
// Mouse

TEST(ButtonMouse, LeftPressAndReleaseRaiseDownUpAndClick)
{
    ButtonHost host;
    EventLog log(host.button);
    pressLeft(host.button, Inside);
    releaseLeft(host.button, Inside);
    EXPECT_EQ(log.entries, strings({ "MouseDown(1,0,20,12)", "MouseUp(1,0,20,12)", "Click" }));
}

TEST(ButtonMouse, RightButtonRaisesNoClick)
{
    ButtonHost host;
    EventLog log(host.button);
    sendMouse(host.button, QEvent::MouseButtonPress, Inside, Qt::RightButton, Qt::RightButton, Qt::ShiftModifier);
    sendMouse(host.button, QEvent::MouseButtonRelease, Inside, Qt::RightButton, Qt::NoButton, Qt::ShiftModifier);
    EXPECT_EQ(log.entries, strings({ "MouseDown(2,1,20,12)", "MouseUp(2,1,20,12)" }));
    EXPECT_FALSE(host.button->state().StateBits & ButtonState::Pressed);
}

TEST(ButtonMouse, ReleasedAwayFromTheButtonIsNoClick)
{
    ButtonHost host;
    EventLog log(host.button);
    pressLeft(host.button, Inside);
    releaseLeft(host.button, QPoint(150, 12));
    EXPECT_EQ(log.entries, strings({ "MouseDown(1,0,20,12)", "MouseUp(1,0,150,12)" }));
}

TEST(ButtonMouse, PressedLookLastsUntilTheRelease)
{
    ButtonHost host;
    moveMouse(host.button, Inside);
    pressLeft(host.button, Inside);
    EXPECT_TRUE(host.button->state().pressedLook());
    releaseLeft(host.button, Inside);
    EXPECT_FALSE(host.button->state().pressedLook());
}

TEST(ButtonMouse, DoubleClickRaisesDoubleClickThenMouseDownAndHoldsThePressedLook)
{
    ButtonHost host;
    EventLog log(host.button);
    pressLeft(host.button, Inside);
    releaseLeft(host.button, Inside);
    sendMouse(host.button, QEvent::MouseButtonDblClick, Inside, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(host.button->state().StateBits & ButtonState::Pressed);
    releaseLeft(host.button, Inside);
    EXPECT_FALSE(host.button->state().StateBits & ButtonState::Pressed);
    EXPECT_EQ(log.entries,
        strings({ "MouseDown(1,0,20,12)", "MouseUp(1,0,20,12)", "Click", "DoubleClick(1)", "MouseDown(1,0,20,12)",
            "MouseUp(1,0,20,12)" }));
}

TEST(ButtonMouse, RightDoubleClickReportsALeftDownWithoutTheLook)
{
    ButtonHost host;
    EventLog log(host.button);
    sendMouse(host.button, QEvent::MouseButtonPress, Inside, Qt::RightButton, Qt::RightButton);
    sendMouse(host.button, QEvent::MouseButtonRelease, Inside, Qt::RightButton, Qt::NoButton);
    sendMouse(host.button, QEvent::MouseButtonDblClick, Inside, Qt::RightButton, Qt::RightButton);
    EXPECT_FALSE(host.button->state().StateBits & ButtonState::Pressed);
    EXPECT_EQ(log.entries,
        strings({ "MouseDown(2,0,20,12)", "MouseUp(2,0,20,12)", "DoubleClick(2)", "MouseDown(1,0,20,12)" }));
}

// ---------------------------------------------------------------------------
// Hover

TEST(ButtonHover, EntersOnceAndEndsWhenThePointerIsOverAnotherWidget)
{
    ButtonHost host;
    auto *other = new QWidget(&host.window);
    other->setGeometry(10, 50, 40, 15);
    other->show();
    QCursor::setPos(host.button->mapToGlobal(Inside));
    EventLog log(host.button);
    QStringList moves;
    QObject::connect(host.button, &gxButtons_H::MouseMove, host.button,
        [&](int, int, float x, float y) { moves << QStringLiteral("%1,%2").arg(x).arg(y); });

    moveMouse(host.button, Inside);
    moveMouse(host.button, Inside + QPoint(5, 0));
    EXPECT_EQ(log.entries, strings({ "MouseOnButton(True)" }));
    EXPECT_EQ(moves, (QStringList { QStringLiteral("20,12"), QStringLiteral("25,12") }));
    EXPECT_TRUE(host.button->state().HoverTimerOn);
    EXPECT_TRUE(host.button->state().StateBits & ButtonState::MouseOver);

    // While the pointer stays over the button the timer finds nothing to do.
    QTest::qWait(120);
    EXPECT_TRUE(host.button->state().HoverTimerOn);

    QCursor::setPos(other->mapToGlobal(QPoint(5, 5)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !host.button->state().HoverTimerOn; }, 2000));
    EXPECT_EQ(log.entries, strings({ "MouseOnButton(True)", "MouseOnButton(False)" }));
    EXPECT_FALSE(host.button->state().StateBits & ButtonState::MouseOver);
}

TEST(ButtonHover, AMoveOutsideStartsNoHoverButIsReported)
{
    ButtonHost host;
    EventLog log(host.button);
    int moves = 0;
    QObject::connect(host.button, &gxButtons_H::MouseMove, host.button, [&] { ++moves; });
    moveMouse(host.button, QPoint(-3, 5), Qt::LeftButton);
    EXPECT_TRUE(log.entries.isEmpty());
    EXPECT_EQ(moves, 1);
    EXPECT_FALSE(host.button->state().HoverTimerOn);
}

// ---------------------------------------------------------------------------
// Keyboard

TEST(ButtonKeyboard, SpaceShowsThePressedLookAndClicksOnRelease)
{
    ButtonHost host;
    EventLog log(host.button);
    sendKey(host.button, QEvent::KeyPress, Qt::Key_Space, QStringLiteral(" "));
    EXPECT_TRUE(host.button->state().StateBits & ButtonState::Pressed);
    EXPECT_FALSE(host.button->state().StateBits & ButtonState::MouseOver);
    // Held down, the key repeats without clicking.
    sendKey(host.button, QEvent::KeyRelease, Qt::Key_Space, QStringLiteral(" "), true);
    sendKey(host.button, QEvent::KeyPress, Qt::Key_Space, QStringLiteral(" "), true);
    sendKey(host.button, QEvent::KeyRelease, Qt::Key_Space, QStringLiteral(" "));
    EXPECT_FALSE(host.button->state().StateBits & ButtonState::Pressed);
    EXPECT_EQ(log.entries,
        strings({ "KeyDown(32,0)", "KeyPress(32)", "KeyDown(32,0)", "KeyPress(32)", "Click", "KeyUp(32,0)" }));
}

TEST(ButtonKeyboard, OtherKeysArePassedOnWithTheirCodes)
{
    ButtonHost host;
    EventLog log(host.button);
    sendKey(host.button, QEvent::KeyPress, Qt::Key_Shift, QString(), false, Qt::ShiftModifier);
    sendKey(host.button, QEvent::KeyPress, Qt::Key_A, QStringLiteral("A"), false, Qt::ShiftModifier);
    sendKey(host.button, QEvent::KeyRelease, Qt::Key_A, QStringLiteral("A"), false, Qt::ShiftModifier);
    sendKey(host.button, QEvent::KeyRelease, Qt::Key_Shift);
    sendKey(host.button, QEvent::KeyPress, Qt::Key_F1);
    EXPECT_EQ(log.entries, strings({ "KeyDown(65,1)", "KeyPress(65)", "KeyUp(65,1)", "KeyDown(112,0)" }));
}

TEST(ButtonKeyboard, ArrowKeysMoveTheFocusAndAreNotPassedOn)
{
    QWidget window;
    window.resize(300, 60);
    gxButtons_H *buttons[3];
    for (int i = 0; i < 3; ++i) {
        buttons[i] = new gxButtons_H(QStringLiteral("B%1").arg(i), &window);
        buttons[i]->setGeometry(10 + 90 * i, 10, 80, 25);
    }
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    buttons[1]->setFocus();
    ASSERT_TRUE(buttons[1]->hasFocus());
    EXPECT_TRUE(buttons[1]->state().StateBits & ButtonState::Focused);
    EventLog log(buttons[1]);

    QTest::keyClick(buttons[1], Qt::Key_Right);
    EXPECT_TRUE(buttons[2]->hasFocus());
    EXPECT_EQ(buttons[1]->state().StateBits, 0);
    QTest::keyClick(buttons[2], Qt::Key_Up);
    EXPECT_TRUE(buttons[1]->hasFocus());
    QTest::keyClick(buttons[1], Qt::Key_Left);
    EXPECT_TRUE(buttons[0]->hasFocus());
    QTest::keyClick(buttons[0], Qt::Key_Down);
    EXPECT_TRUE(buttons[1]->hasFocus());
    EXPECT_TRUE(log.entries.isEmpty()) << log.entries.join(QLatin1Char(' ')).toStdString();
}

// ---------------------------------------------------------------------------
// Access key

TEST(ButtonAccessKey, FlashesAnIdleButtonThenClicks)
{
    ButtonHost host;
    host.button->set_Caption(QStringLiteral("&Next"));
    host.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host.window));
    host.window.setFocus();
    EventLog log(host.button);
    std::vector<bool> pressedWhenClicked;
    QObject::connect(host.button, &gxButtons_H::Click, host.button,
        [&] { pressedWhenClicked.push_back(host.button->state().StateBits & ButtonState::Pressed); });
    PaintWatcher watcher(host.button);
    QTest::keyClick(&host.window, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(log.entries, strings({ "Click" }));
    EXPECT_EQ(pressedWhenClicked, std::vector<bool> { false });
    EXPECT_EQ(host.button->state().StateBits, 0);
    // The pressed look reached the screen before the click.
    EXPECT_TRUE(watcher.sawPressedLook);
}

TEST(ButtonAccessKey, AKeyNoLongerMarkedStillClicksAFocusedButtonAtOnce)
{
    ButtonHost host;
    host.button->set_Caption(QStringLiteral("&Help"));
    host.button->set_Caption(QStringLiteral("Help"));
    host.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host.window));
    host.button->setFocus();
    ASSERT_EQ(host.button->state().StateBits, ButtonState::Focused);
    EventLog log(host.button);
    QTest::keyClick(&host.window, Qt::Key_H, Qt::AltModifier);
    EXPECT_EQ(log.entries, strings({ "Click" }));
}

// ---------------------------------------------------------------------------
// Focus

TEST(ButtonFocus, GainingSetsTheFocusedLookAndLosingClearsEveryFlag)
{
    ButtonHost host;
    moveMouse(host.button, Inside);
    sendFocus(host.button, QEvent::FocusIn);
    pressLeft(host.button, Inside);
    EXPECT_EQ(host.button->state().StateBits, ButtonState::Focused | ButtonState::Pressed | ButtonState::MouseOver);
    sendFocus(host.button, QEvent::FocusOut);
    EXPECT_EQ(host.button->state().StateBits, 0);
}

} // namespace
