#include "FormWidgets.h"

#include "Control.h"
#include "Form.h"
#include "Pictures.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFrame>

#include <algorithm>

namespace forms {

namespace {
constexpr int kEnter = 13;
constexpr int kBackspace = 8;
constexpr int kEscape = 27;
constexpr int kTab = 9;
constexpr double kButtonIconShare = 0.55;
} // namespace

int keyCodeFor(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return kEnter;
    case Qt::Key_Backspace:
        return kBackspace;
    case Qt::Key_Escape:
        return kEscape;
    case Qt::Key_Tab:
        return kTab;
    default:
        break;
    }
    if ((qtKey >= Qt::Key_Space && qtKey <= Qt::Key_AsciiTilde))
        return qtKey; // Qt's codes for these are the character codes, letters as capitals
    return qtKey & 0xFFFF;
}

void LabelWidget::paintEvent(QPaintEvent* event)
{
    // A disabled label with its own background shows greyed, like an emptied card.
    if (!isEnabled() && autoFillBackground()) {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Disabled, QPalette::Window));
    }
    QLabel::paintEvent(event);
}

ButtonWidget::ButtonWidget(QWidget* parent) : QToolButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
}

void ButtonWidget::keyPressEvent(QKeyEvent* event)
{
    // A focused command button answers Enter as a click, as pupils expect.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat()) {
        click();
        return;
    }
    QToolButton::keyPressEvent(event);
}

void ButtonWidget::resizeEvent(QResizeEvent* event)
{
    QToolButton::resizeEvent(event);
    if (icon().isNull())
        return;
    // The picture grows with the button; the caption, when there is one, keeps a line below it.
    const int textRoom = text().isEmpty() ? 0 : fontMetrics().height();
    const int side = std::max(8, int(std::min(width() * kButtonIconShare,
                                              (height() - textRoom) * 0.8)));
    setIconSize(QSize(side, side));
}

TextBoxWidget::TextBoxWidget(Control& control, QWidget* parent)
    : QLineEdit(parent), m_control(control)
{
    // Text that arrives without a key press (pasted, dropped, typed through an
    // input method) is held to the same rules as typed keys.
    connect(this, &QLineEdit::textEdited, this, &TextBoxWidget::holdToKeyRules);
}

void TextBoxWidget::keyPressEvent(QKeyEvent* event)
{
    int code = 0;
    const QString typed = event->text();
    if (event->key() == Qt::Key_Backspace)
        code = kBackspace;
    else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        code = kEnter;
    else if (event->key() == Qt::Key_Escape)
        code = kEscape;
    else if (typed.size() == 1 && typed.at(0).isPrint())
        code = typed.at(0).unicode();
    else {
        QLineEdit::keyPressEvent(event); // arrows, Delete, shortcuts
        return;
    }

    m_control.form().dispatchKeyPress(m_control, code);
    if (code == 0)
        return;
    m_typing = true;
    if (code == kBackspace)
        backspace();
    else if (code >= 32)
        insert(QString(QChar(char16_t(code))));
    m_typing = false;
}

void TextBoxWidget::holdToKeyRules(const QString& edited)
{
    if (m_typing)
        return;
    QString kept;
    for (QChar ch : edited) {
        int code = ch.unicode();
        m_control.form().dispatchKeyPress(m_control, code);
        if (code >= 32)
            kept.append(QChar(char16_t(code)));
    }
    if (maxLength() > 0)
        kept.truncate(maxLength());
    if (kept != edited) {
        const int cursor = std::min<int>(cursorPosition(), kept.size());
        setText(kept);
        setCursorPosition(cursor);
    }
}

PictureBoxWidget::PictureBoxWidget(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
}

ImageWidget::ImageWidget(QString picture, QWidget* parent)
    : QWidget(parent), m_picture(std::move(picture))
{}

void ImageWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    Pictures::paint(painter, QRectF(rect()), m_picture);
}

LineWidget::LineWidget(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineWidget::setEnds(QPoint from, QPoint to)
{
    const QRect box = QRect(from, to).normalized().adjusted(0, 0, 1, 1);
    m_from = from - box.topLeft();
    m_to = to - box.topLeft();
    setGeometry(box);
    update();
}

void LineWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawLine(m_from, m_to);
}

} // namespace forms
