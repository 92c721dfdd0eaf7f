#pragma once

#include <QString>

#include <stdexcept>

namespace forms {

// What reading or setting a property by name fails with, numbered as the
// forms platform numbers these failures. Callers that walk every control ask
// has() first; these are for a property a caller wrongly assumes.
enum class FormsErrorCode : int {
    NotAnArray = 343,          // Index read on a control that is no array element
    InvalidPropertyValue = 380, // a value the property cannot take
    ReadOnly = 383,            // property is read-only
    CannotSet = 387,           // property cannot be set on this control
    NoSuchProperty = 438,      // object has no such property
};

class FormsError : public std::runtime_error
{
public:
    FormsError(FormsErrorCode code, const QString& what)
        : std::runtime_error(what.toStdString()), m_code(code)
    {}
    FormsErrorCode code() const { return m_code; }
    int number() const { return static_cast<int>(m_code); }

private:
    FormsErrorCode m_code;
};

} // namespace forms
