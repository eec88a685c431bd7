#include "ButtonTestSupport.h"

#include "controls/ButtonPainter.h"
#include "controls/WizardButtonLook.h"

#include <QDir>
#include <QPainter>

#include <gtest/gtest.h>

using namespace ButtonColors;

namespace {

enum class Look { Normal, Focused, Pressed, Hover, Disabled };
const char *const LookNames[] = {"normal", "focused", "pressed", "hover", "disabled"};

// Puts a button into one of its looks through the events that produce it.
void showLook(gxButtons_H *button, Look look)
{
    const QPoint centre = button->rect().center();
    switch (look) {
    case Look::Normal:
        break;
    case Look::Focused:
        sendFocus(button, QEvent::FocusIn);
        break;
    case Look::Pressed:
        moveMouse(button, centre);
        pressLeft(button, centre);
        break;
    case Look::Hover:
        moveMouse(button, centre);
        break;
    case Look::Disabled:
        button->set_Enabled(false);
        break;
    }
}

bool hasInk(const QImage &face, QRgb background)
{
    for (int y = 0; y < face.height(); ++y)
        for (int x = 0; x < face.width(); ++x)
            if (rgbAt(face, x, y) != background)
                return true;
    return false;
}

} // namespace

TEST(ButtonGallery, WritesEveryStyleShapeAndLookForAPersonToCheck)
{
    const QString folder = qEnvironmentVariable("TRESSEL_TEST_OUTPUT");
    if (folder.isEmpty())
        GTEST_SKIP() << "TRESSEL_TEST_OUTPUT names no folder for the pictures";
    const QSize size(96, 28);
    const int cell = 8;
    for (const bool wizardColours : {false, true}) {
        for (int style = 0; style <= 7; ++style) {
            QImage sheet(5 * (size.width() + cell) + cell, 7 * (size.height() + cell) + cell, QImage::Format_RGB32);
            QRgb background = 0;
            {
                QPainter painter(&sheet);
                for (int shape = 0; shape <= 6; ++shape) {
                    for (int look = 0; look < 5; ++look) {
                        ButtonHost host(size);
                        gxButtons_H *button = host.button;
                        if (wizardColours)
                            WizardButtonLook().applyTo(*button);
                        button->set_ButtonStyle(style);
                        button->set_ButtonShape(shape);
                        button->set_Caption(QStringLiteral("&Next >>"));
                        showLook(button, Look(look));
                        background = host.window.palette().color(QPalette::Window).rgb() & RGB_MASK;
                        if (shape == 0 && look == 0)
                            sheet.fill(background);
                        const QImage face = visibleFace(*button, background);
                        // Every look shows at least its caption.
                        EXPECT_GT(face.size().width() * face.size().height(), 0);
                        EXPECT_TRUE(hasInk(face, background)) << style << "/" << shape << "/" << LookNames[look];
                        painter.drawImage(cell + look * (size.width() + cell), cell + shape * (size.height() + cell),
                                          face);
                    }
                }
            }
            const QString name = QStringLiteral("button-style%1%2.png").arg(style).arg(wizardColours ? "-wizard" : "");
            ASSERT_TRUE(sheet.save(QDir(folder).filePath(name))) << name.toStdString();
        }
    }
}
