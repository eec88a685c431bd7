#include "ButtonTestSupport.h"

#include <QCursor>
#include <QKeyEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Every event of a button in arrival order, e.g. "MouseDown(1,0,5,6)".
struct EventLog
{
    explicit EventLog(gxButtons_H *button)
    {
        auto note = [this](const char *name) {
            return [this, name](auto... values) {
                QStringList parts;
                ((parts << QVariant(values).toString()), ...);
                entries << QLatin1String(name) + (parts.isEmpty() ? QString() : u'(' + parts.join(u',') + u')');
            };
        };
        QObject::connect(button, &gxButtons_H::MouseDown, button, note("MouseDown"));
        QObject::connect(button, &gxButtons_H::MouseUp, button, note("MouseUp"));
        QObject::connect(button, &gxButtons_H::MouseMove, button, note("MouseMove"));
        QObject::connect(button, &gxButtons_H::Click, button, note("Click"));
        QObject::connect(button, &gxButtons_H::DoubleClick, button, note("DoubleClick"));
        QObject::connect(button, &gxButtons_H::KeyDown, button, note("KeyDown"));
        QObject::connect(button, &gxButtons_H::KeyPress, button, note("KeyPress"));
        QObject::connect(button, &gxButtons_H::KeyUp, button, note("KeyUp"));
        QObject::connect(button, &gxButtons_H::MouseOnButton, button, note("MouseOnButton"));
    }

    QString text() const { return entries.join(u' '); }

    QStringList entries;
};

const QPoint Inside(20, 12);

void sendKey(QWidget *target, QEvent::Type type, int key, const QString &text = QString(), bool autoRepeat = false,
    Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent event(type, key, modifiers, text, autoRepeat);
    QCoreApplication::sendEvent(target, &event);
}

TEST(ButtonMouse, RaisesItsEventsInOrderAndHoldsThePressedLookUntilTheRelease)
{
    // Steps: L or R button, d down, u up or D double click, at x (y is 12); "*": held down after it.
    const std::tuple<Qt::KeyboardModifiers, const char *, const char *> cases[] = {
        { Qt::NoModifier, "Ld20* Lu20", "MouseDown(1,0,20,12) MouseUp(1,0,20,12) Click" },
        { Qt::ShiftModifier, "Rd20 Ru20", "MouseDown(2,1,20,12) MouseUp(2,1,20,12)" },
        { Qt::NoModifier, "Ld20* Lu150", "MouseDown(1,0,20,12) MouseUp(1,0,150,12)" }, // released away: no click
        { Qt::NoModifier, "Ld20* Lu20 LD20* Lu20",
            "MouseDown(1,0,20,12) MouseUp(1,0,20,12) Click DoubleClick(1) MouseDown(1,0,20,12) MouseUp(1,0,20,12)" },
        { Qt::NoModifier, "Rd20 Ru20 RD20", // a right double click reports a left down without the look
            "MouseDown(2,0,20,12) MouseUp(2,0,20,12) DoubleClick(2) MouseDown(1,0,20,12)" }
    };
    for (const auto &[modifiers, steps, events] : cases) {
        SCOPED_TRACE(steps);
        ButtonHost host;
        EventLog log(host.button);
        for (const QString &step : QString::fromLatin1(steps).split(u' ')) {
            const Qt::MouseButton button = step[0] == u'L' ? Qt::LeftButton : Qt::RightButton;
            const bool up = step[1] == u'u', held = step.endsWith(u'*');
            const QEvent::Type type = up ? QEvent::MouseButtonRelease
                                         : (step[1] == u'd' ? QEvent::MouseButtonPress : QEvent::MouseButtonDblClick);
            const QPoint at(step.mid(2, step.size() - 2 - held).toInt(), 12);
            sendMouse(host.button, type, at, button, up ? Qt::NoButton : Qt::MouseButtons(button), modifiers);
            EXPECT_EQ(bool(host->state().StateBits & ButtonState::Pressed), held) << step.toStdString();
        }
        EXPECT_EQ(log.text(), QLatin1String(events));
    }
}

TEST(ButtonHover, StartsOnceOnAMoveInsideAndEndsWhenThePointerIsOverAnotherWidget)
{
    ButtonHost host;
    auto *other = new QWidget(&host.window);
    other->setGeometry(10, 50, 40, 15);
    other->show();
    EventLog log(host.button);

    // A move outside (a drag) is reported but starts no hover.
    sendMouse(host.button, QEvent::MouseMove, QPoint(-3, 5), Qt::NoButton, Qt::LeftButton);
    EXPECT_FALSE(host->state().HoverTimerOn);

    QCursor::setPos(host->mapToGlobal(Inside));
    sendMouse(host.button, QEvent::MouseMove, Inside, Qt::NoButton);
    sendMouse(host.button, QEvent::MouseMove, Inside + QPoint(5, 0), Qt::NoButton);
    EXPECT_EQ(log.text(),
        QStringLiteral("MouseMove(1,0,-3,5) MouseOnButton(true) MouseMove(0,0,20,12) MouseMove(0,0,25,12)"));
    EXPECT_TRUE(host->state().HoverTimerOn && (host->state().StateBits & ButtonState::MouseOver));

    QCursor::setPos(other->mapToGlobal(QPoint(5, 5)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !host->state().HoverTimerOn; }, 2000));
    // Once, however many moves the pointer made on its way.
    EXPECT_TRUE(log.text().endsWith(QStringLiteral("MouseOnButton(false)"))
        && log.text().count(QStringLiteral("OnButton")) == 2)
        << log.text().toStdString();
    EXPECT_FALSE(host->state().StateBits & ButtonState::MouseOver);
}

TEST(ButtonKeyboard, SpaceClicksOnReleaseAndOtherKeysArePassedOnWithTheirCodes)
{
    ButtonHost host;
    EventLog log(host.button);
    sendKey(host.button, QEvent::KeyPress, Qt::Key_Space, QStringLiteral(" "));
    EXPECT_TRUE(host->state().StateBits & ButtonState::Pressed);
    EXPECT_FALSE(host->state().StateBits & ButtonState::MouseOver);
    // Held down, the key repeats without clicking.
    sendKey(host.button, QEvent::KeyRelease, Qt::Key_Space, QStringLiteral(" "), true);
    sendKey(host.button, QEvent::KeyPress, Qt::Key_Space, QStringLiteral(" "), true);
    sendKey(host.button, QEvent::KeyRelease, Qt::Key_Space, QStringLiteral(" "));
    EXPECT_FALSE(host->state().StateBits & ButtonState::Pressed);
    EXPECT_EQ(log.text(), QStringLiteral("KeyDown(32,0) KeyPress(32) KeyDown(32,0) KeyPress(32) Click KeyUp(32,0)"));

    log.entries.clear();
    sendKey(host.button, QEvent::KeyPress, Qt::Key_Shift, QString(), false, Qt::ShiftModifier);
    sendKey(host.button, QEvent::KeyPress, Qt::Key_A, QStringLiteral("A"), false, Qt::ShiftModifier);
    sendKey(host.button, QEvent::KeyRelease, Qt::Key_A, QStringLiteral("A"), false, Qt::ShiftModifier);
    sendKey(host.button, QEvent::KeyRelease, Qt::Key_Shift);
    sendKey(host.button, QEvent::KeyPress, Qt::Key_F1);
    EXPECT_EQ(log.text(), QStringLiteral("KeyDown(65,1) KeyPress(65) KeyUp(65,1) KeyDown(112,0)"));
}

// Enter is the window's, unless the host makes a click of it: then it goes
// no further, as the click may have put the focus where Enter means more.
TEST(ButtonKeyboard, AKeyTheHostClicksWithGoesNoFurther)
{
    for (const bool clicks : { false, true }) {
        ButtonHost host;
        if (clicks) {
            QObject::connect(host.button, &gxButtons_H::KeyDown, host.button, [&host](int key) {
                if (key == 13)
                    emit host->Click();
            });
        }
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QCoreApplication::sendEvent(host.button, &enter);
        EXPECT_EQ(enter.isAccepted(), clicks) << clicks; // no widget took it on the way up
    }
}

TEST(ButtonKeyboard, ArrowKeysMoveTheFocusAndAreNotPassedOnAndLosingTheFocusClearsTheLook)
{
    ButtonHost host;
    gxButtons_H *buttons[] = { new gxButtons_H(&host.window), host.button, new gxButtons_H(&host.window) };
    buttons[0]->show();
    buttons[2]->show();
    host.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host.window));
    host->setFocus();
    EventLog log(host.button);
    // The focus follows the order of creation: the host's button, then the other two.
    for (const auto &[from, key, to] : { std::tuple(1, Qt::Key_Right, 0), std::tuple(0, Qt::Key_Up, 1),
             std::tuple(1, Qt::Key_Left, 2), std::tuple(2, Qt::Key_Down, 1) }) {
        QTest::keyClick(buttons[from], key);
        EXPECT_TRUE(buttons[to]->hasFocus()) << from << "->" << to;
        EXPECT_EQ(buttons[from]->state().StateBits, 0) << from;
    }
    EXPECT_TRUE(log.entries.isEmpty()) << log.text().toStdString();

    pressAt(host.button, Inside);
    EXPECT_EQ(host->state().StateBits, ButtonState::Focused | ButtonState::Pressed | ButtonState::MouseOver);
    buttons[0]->setFocus();
    EXPECT_EQ(host->state().StateBits, 0);
}

// Notes whether a button it watches was ever painted in its pressed look.
struct PaintWatcher : QObject
{
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        sawPressedLook |= event->type() == QEvent::Paint && static_cast<gxButtons_H *>(watched)->state().pressedLook();
        return false;
    }

    bool sawPressedLook = false;
};

TEST(ButtonAccessKey, FlashesAnIdleButtonThenClicksAndAnUnmarkedKeyClicksAFocusedOneAtOnce)
{
    ButtonHost host;
    host->set_Caption(QStringLiteral("&Next"));
    host.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host.window));
    host.window.setFocus();
    EventLog log(host.button);
    // After each click, the look flags the button had when it was raised.
    QObject::connect(host.button, &gxButtons_H::Click, host.button,
        [&] { log.entries << QString::number(host->state().StateBits); });
    PaintWatcher watcher;
    host->installEventFilter(&watcher);
    QTest::keyClick(&host.window, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(log.text(), QStringLiteral("Click 0"));
    EXPECT_EQ(host->state().StateBits, 0);
    EXPECT_TRUE(watcher.sawPressedLook); // the pressed look reached the screen before the click

    // A caption without a mark keeps the key; a focused button clicks at once.
    host->set_Caption(QStringLiteral("Next"));
    host->setFocus();
    watcher.sawPressedLook = false;
    QTest::keyClick(&host.window, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(log.text(), QStringLiteral("Click 0 Click 1")); // focused only
    EXPECT_FALSE(watcher.sawPressedLook);
}

} // namespace
