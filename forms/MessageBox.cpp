#include "MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace forms {
namespace {
std::function<MsgBoxResult(const MsgBoxRequest&)>& answerer()
{
    static std::function<MsgBoxResult(const MsgBoxRequest&)> scripted;
    return scripted;
}

QMessageBox::Icon qtIcon(MsgBoxIcon icon)
{
    switch (icon) {
    case MsgBoxIcon::Question: return QMessageBox::Question;
    case MsgBoxIcon::Information: return QMessageBox::Information;
    case MsgBoxIcon::None: break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

MsgBoxResult msgBox(const MsgBoxRequest& request)
{
    if (answerer())
        return answerer()(request);

    QMessageBox box(qtIcon(request.icon), request.title, request.text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    // The texts come from language files: shown as written, never as markup.
    box.setTextFormat(Qt::PlainText);
    if (request.buttons == MsgBoxButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        // There is no cancel: closing the box counts as No.
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    box.setWindowModality(Qt::ApplicationModal);
    const int answer = box.exec();
    if (request.buttons == MsgBoxButtons::YesNo)
        return answer == QMessageBox::Yes ? MsgBoxResult::Yes : MsgBoxResult::No;
    return MsgBoxResult::Ok;
}

void setMsgBoxAnswerer(std::function<MsgBoxResult(const MsgBoxRequest&)> scripted)
{
    answerer() = std::move(scripted);
}

} // namespace forms
