#include "ButtonState.h"

bool ButtonState::GetState(qint16 &code, bool pressed, bool mouseOver, bool focused, bool timer) const
{
    bool answer = true;
    if (focused) {
        answer = (StateBits & Focused) != 0;
        code = answer ? 1 : 0;
    }
    if (pressed) {
        answer = answer && (StateBits & Pressed) != 0;
        code = (StateBits & Pressed) != 0 ? 2 : 0;
    }
    if (mouseOver) {
        answer = answer && (StateBits & MouseOver) != 0;
        code = (code == 2 && answer) ? 2 : 0;
    }
    if (timer) {
        code = HoverTimerOn ? 3 : 0;
        answer = HoverTimerOn && answer;
    }
    return answer;
}

ButtonState::Span ButtonState::usableSpan(int width) const
{
    // Integer division truncates toward zero here, as in the outline code.
    Span span;
    switch (ButtonShape) {
    case 1:
        span.left = OutlineLeftX - OutlineLeftX / 3;
        span.right = width;
        span.usable = width - span.left;
        break;
    case 2:
        span.left = 0;
        span.right = span.usable = (width - OutlineRightX) / 3 + OutlineRightX;
        break;
    case 3:
        span.left = OutlineLeftX - OutlineLeftX / 3;
        span.right = (width - OutlineRightX) / 3 + OutlineRightX;
        span.usable = span.right - span.left;
        break;
    default:
        span.left = 0;
        span.usable = OutlineRightX;
        span.right = width;
        break;
    }
    return span;
}

QString ButtonState::drawnCaption() const
{
    QString text = Caption;
    text.replace(QLatin1String("||"), QLatin1String("\n"), Qt::CaseInsensitive);
    return text;
}
