#pragma once

// The Qt widgets behind the controls. Only the runtime sees them; they turn
// Qt's events into the forms' own (Click, KeyPress, KeyUp, DragDrop).

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

namespace forms {

class Control;

// Translates a Qt key to the forms' key code: Enter (Return or the keypad's)
// is 13, Backspace 8, Escape 27, letters their capitals' codes, keys without
// a character the platform's codes (Shift 16, Left 37, F1 112...); 0 when
// the key has none.
int keyCodeFor(int qtKey);

// A widget that shows a caption. Setting it may do more than set the text:
// a label that fits its caption resizes, a button with a picture places it.
class CaptionWidget
{
public:
    virtual ~CaptionWidget() = default;
    virtual QString caption() const = 0;
    virtual void setCaption(const QString& text) = 0;
};

class LabelWidget : public QLabel, public CaptionWidget
{
public:
    LabelWidget(Control& control, QWidget* parent);

    QString caption() const override { return text(); }
    void setCaption(const QString& text) override;

    // Drawn as selected: tinted and framed in the highlight colour.
    bool isHighlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool showsFocus() const;
    int highlightFrame() const;
    Control& m_control;
    bool m_highlighted = false;
};

class ButtonWidget : public QToolButton, public CaptionWidget
{
public:
    explicit ButtonWidget(QWidget* parent);

    QString caption() const override { return text(); }
    void setCaption(const QString& text) override;

protected:
    void initStyleOption(QStyleOptionToolButton* option) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};

class CheckBoxWidget : public QCheckBox, public CaptionWidget
{
public:
    explicit CheckBoxWidget(QWidget* parent) : QCheckBox(parent) {}

    QString caption() const override { return text(); }
    void setCaption(const QString& text) override { setText(text); }
};

class TextBoxWidget : public QLineEdit
{
public:
    TextBoxWidget(Control& control, QWidget* parent);
    // At most this many characters (0: no limit), however the text arrives.
    void setLimit(int characters);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void holdToKeyRules(const QString& edited);
    Control& m_control;
    int m_limit = 0;
    bool m_typing = false;
};

class PictureBoxWidget : public QFrame
{
public:
    explicit PictureBoxWidget(QWidget* parent);
};

class ImageWidget : public QWidget
{
public:
    ImageWidget(QString picture, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_picture;
};

// A line from (X1, Y1) to (X2, Y2): a see-through widget over the line's
// bounding box that draws it.
class LineWidget : public QWidget
{
public:
    explicit LineWidget(QWidget* parent);
    void setEnds(QPoint from, QPoint to);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPoint m_from;
    QPoint m_to;
};

} // namespace forms
