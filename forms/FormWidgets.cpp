#include "FormWidgets.h"

#include "Control.h"
#include "Form.h"
#include "Pictures.h"

#include <QHash>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFrame>
#include <QStyleOptionToolButton>

#include <algorithm>
#include <vector>

namespace forms {

namespace {
constexpr int kEnter = 13;
constexpr int kBackspace = 8;
constexpr int kEscape = 27;
constexpr int kTab = 9;
constexpr double kButtonIconShare = 0.55;
constexpr double kHighlightTint = 0.3;
constexpr int kHighlightFrameShare = 10; // of the label's height
constexpr int kHighlightFrameMin = 3;
constexpr int kFocusInset = 3;
constexpr std::size_t kPalettesShared = 64;

// The style keeps its pictures of buttons under the identity of the palette
// they were drawn with, not under its colours, and Qt 6.4 keeps the key of
// every picture it drops. A form takes a new colour with every question and
// Qt gives each of its buttons a new palette every time, so memory grew with
// every question. Buttons drawn in the same colours are handed one and the
// same palette instead, and each look is drawn and kept once. The program has
// 16 colours; past 64 looks, further ones are drawn as they come.
QPalette sharedPalette(const QPalette& palette)
{
    static std::vector<QPalette> shared;
    for (const QPalette& known : shared) {
        if (known == palette) {
            QPalette same = known;
            same.setCurrentColorGroup(palette.currentColorGroup());
            return same;
        }
    }
    if (shared.size() < kPalettesShared)
        shared.push_back(palette);
    return palette;
}
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
    if (qtKey < Qt::Key_Escape)
        return qtKey & 0xFFFF; // a character: Qt's code is the character's, letters as capitals
    // Keys without a character get the platform's own key codes, which never
    // collide with a character's (Shift must not read as Space, F1 as "0").
    static const QHash<int, int> platformCodes{
        {Qt::Key_Backtab, kTab}, {Qt::Key_Clear, 12}, {Qt::Key_Shift, 16},
        {Qt::Key_Control, 17}, {Qt::Key_Alt, 18}, {Qt::Key_Pause, 19},
        {Qt::Key_CapsLock, 20}, {Qt::Key_PageUp, 33}, {Qt::Key_PageDown, 34},
        {Qt::Key_End, 35}, {Qt::Key_Home, 36}, {Qt::Key_Left, 37}, {Qt::Key_Up, 38},
        {Qt::Key_Right, 39}, {Qt::Key_Down, 40}, {Qt::Key_Print, 44},
        {Qt::Key_Insert, 45}, {Qt::Key_Delete, 46}, {Qt::Key_Meta, 91},
        {Qt::Key_Menu, 93}, {Qt::Key_NumLock, 144}, {Qt::Key_ScrollLock, 145},
    };
    constexpr int kF1 = 112;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return kF1 + (qtKey - Qt::Key_F1);
    return platformCodes.value(qtKey, 0);
}

LabelWidget::LabelWidget(Control& control, QWidget* parent) : QLabel(parent), m_control(control)
{
    // Captions come from language files anyone can edit: never markup.
    setTextFormat(Qt::PlainText);
}

void LabelWidget::setCaption(const QString& text)
{
    setText(text);
    if (m_control.decl().autoSize)
        m_control.fitToCaption();
}

void LabelWidget::setHighlighted(bool highlighted)
{
    if (highlighted == m_highlighted)
        return;
    m_highlighted = highlighted;
    update();
}

bool LabelWidget::showsFocus() const
{
    // As Qt's own styles do: the focus is marked once the keyboard has moved it.
    return hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange);
}

int LabelWidget::highlightFrame() const
{
    return std::max(kHighlightFrameMin, height() / kHighlightFrameShare);
}

void LabelWidget::paintEvent(QPaintEvent* event)
{
    const QColor highlight = palette().color(QPalette::Highlight);
    {
        QPainter painter(this);
        // A disabled label with its own background shows greyed, like an emptied card.
        if (!isEnabled() && autoFillBackground())
            painter.fillRect(rect(), palette().color(QPalette::Disabled, QPalette::Window));
        if (m_highlighted) {
            QColor tint = highlight;
            tint.setAlphaF(kHighlightTint);
            painter.fillRect(rect(), tint);
        }
    }
    QLabel::paintEvent(event);
    if (!m_highlighted && !showsFocus())
        return;

    QPainter painter(this);
    int inset = frameWidth();
    if (m_highlighted) {
        inset = highlightFrame();
        QPen pen(highlight, inset);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        const qreal half = inset / 2.0;
        painter.drawRect(QRectF(rect()).adjusted(half, half, -half, -half));
    }
    if (showsFocus()) {
        inset += kFocusInset;
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(inset, inset, -inset - 1, -inset - 1));
    }
}

ButtonWidget::ButtonWidget(QWidget* parent) : QToolButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
}

void ButtonWidget::setCaption(const QString& text)
{
    setText(text);
    // A picture alone fills the button; with a caption it leaves a line below.
    if (!icon().isNull())
        setToolButtonStyle(text.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextUnderIcon);
}

void ButtonWidget::initStyleOption(QStyleOptionToolButton* option) const
{
    QToolButton::initStyleOption(option);
    option->palette = sharedPalette(option->palette);
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

void TextBoxWidget::setLimit(int characters)
{
    // The limit is kept here rather than by the line edit, which would cut
    // pasted text to length before the key rules drop what they refuse.
    m_limit = characters;
}

void TextBoxWidget::keyPressEvent(QKeyEvent* event)
{
    // Shortcuts (Ctrl+V pastes) are the line edit's own; AltGr, which some
    // platforms report as Ctrl+Alt, still types.
    const Qt::KeyboardModifiers mods = event->modifiers();
    if ((mods & Qt::MetaModifier) || ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier))) {
        QLineEdit::keyPressEvent(event);
        return;
    }
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

    m_control.form().raise<Event::KeyPress>(m_control, code);
    if (code == 0)
        return;
    m_typing = true;
    if (code == kBackspace)
        backspace();
    else if (code >= 32 && (m_limit <= 0 || text().size() - selectedText().size() < m_limit))
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
        m_control.form().raise<Event::KeyPress>(m_control, code);
        if (code >= 32)
            kept.append(QChar(char16_t(code)));
    }
    if (m_limit > 0)
        kept.truncate(m_limit);
    if (kept != edited) {
        const int cursor = std::min<int>(cursorPosition(), kept.size());
        setText(kept);
        setCursorPosition(cursor);
    }
}

PictureBoxWidget::PictureBoxWidget(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
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
