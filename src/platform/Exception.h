#pragma once

#include <QString>
#include <exception>
#include <string>

// The error type of the platform layer. Handlers raise these; the application object
// catches whatever escapes the event delivery and reports it (see TApplication).
class Exception : public std::exception
{
public:
    explicit Exception(QString message);

    const QString &Message() const noexcept { return message_; }
    // The class name shown in the start-up failure box ("Exception %s in module ...").
    virtual const char *ClassName() const noexcept { return "Exception"; }
    // Where the error was raised: the code address reported in the start-up failure box.
    const void *Address() const noexcept { return address_; }
    const char *what() const noexcept override { return utf8_.c_str(); }

private:
    QString message_;
    std::string utf8_;
    const void *address_;
};

#define TESK_EXCEPTION_CLASS(Name)                                                                 \
    class Name : public Exception                                                                  \
    {                                                                                              \
    public:                                                                                        \
        using Exception::Exception;                                                                \
        const char *ClassName() const noexcept override { return #Name; }                          \
    };

// A resource (a window's design description, a picture) that the executable lacks.
TESK_EXCEPTION_CLASS(EResNotFound)
// Reading or writing the per-user settings store failed.
TESK_EXCEPTION_CLASS(ERegistryException)
