#pragma once

#include <QString>

#include <functional>

namespace forms {

enum class MsgBoxButtons { OkOnly, YesNo };
enum class MsgBoxIcon { None, Question, Information };
enum class MsgBoxResult { Ok, Yes, No };

struct MsgBoxRequest
{
    QString title;
    QString text;
    MsgBoxButtons buttons = MsgBoxButtons::OkOnly;
    MsgBoxIcon icon = MsgBoxIcon::None;
};

// A modal message box; the form below gets no input until it is answered.
MsgBoxResult msgBox(const MsgBoxRequest& request);

// Test seam: answer message boxes without showing them (an empty function
// restores the real boxes).
void setMsgBoxAnswerer(std::function<MsgBoxResult(const MsgBoxRequest&)> answerer);

} // namespace forms
