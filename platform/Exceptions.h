#pragma once
// The program's failures. Each carries the message shown to the learner by
// the application's standard error box.

#include <QString>

#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(const QString& message) : FMessage(message), FUtf8(message.toStdString()) {}
    explicit Exception(const char* message) : Exception(QString::fromUtf8(message)) {}
    const QString& Message() const noexcept { return FMessage; }
    const char* what() const noexcept override { return FUtf8.c_str(); }

private:
    QString FMessage;
    std::string FUtf8;
};

#define KORVALITH_EXCEPTION(Name)        \
    class Name : public Exception {      \
    public:                              \
        using Exception::Exception;      \
    }

KORVALITH_EXCEPTION(EParseError);
KORVALITH_EXCEPTION(EProcessError);
KORVALITH_EXCEPTION(EInOutError);
KORVALITH_EXCEPTION(EInvalidCast);
KORVALITH_EXCEPTION(ERangeError);
KORVALITH_EXCEPTION(EConvertError);
KORVALITH_EXCEPTION(EListError);
KORVALITH_EXCEPTION(EOutOfResources);

#undef KORVALITH_EXCEPTION
