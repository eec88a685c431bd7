#include "ButtonTestSupport.h"
#include "controls/WizardButtonLook.h"
#include <gtest/gtest.h>
#include <cstdio>
TEST(Debug, Ellipse)
{
    ButtonHost host(QSize(96, 28));
    WizardButtonLook().applyTo(*host.button);
    host.button->set_ButtonShape(4);
    QImage img;
    host.button->drawFace(img);
    for (int y = 0; y < 6; ++y) { for (int x = 44; x < 50; ++x) printf("%06x ", rgbAt(img, x, y)); printf("\n"); }
    printf("shape %d elliptic %d\n", host.button->state().ButtonShape, host.button->state().isElliptic());
}
