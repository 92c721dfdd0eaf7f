#pragma once

#include <QString>

#include <stdexcept>

namespace forms {

// The runtime's failures that callers are expected to pass over, numbered as
// the forms platform numbers them so that callers can tell them apart.
enum class FormsErrorCode : int {
    NotAnArray = 343,          // Index read on a control that is no array element
    InvalidPropertyValue = 380, // a value the property cannot take
    ReadOnly = 383,            // property is read-only
    CannotSet = 387,           // property cannot be set on this control
    CannotReadAtRunTime = 393, // property cannot be read at run time
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

    // The errors that mean "this control has no such property, or it cannot
    // be read or set here": callers that walk all controls skip just the one
    // statement that raised them.
    bool isMissingProperty() const
    {
        return m_code == FormsErrorCode::ReadOnly || m_code == FormsErrorCode::CannotSet
            || m_code == FormsErrorCode::CannotReadAtRunTime
            || m_code == FormsErrorCode::NoSuchProperty;
    }

private:
    FormsErrorCode m_code;
};

} // namespace forms
