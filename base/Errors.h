#pragma once
// The runtime's exception family. Every failure the system reports to a person
// is one of these, carrying the exact text that person will read.

#include <QString>
#include <exception>

// Root of the family; what() gives the message as UTF-8.
class Exception : public std::exception {
public:
    explicit Exception(QString message);
    const QString &Message() const { return FMessage; }
    const char *what() const noexcept override { return FUtf8.constData(); }

private:
    QString FMessage;
    QByteArray FUtf8;
};

// A text that does not convert to a number or a date.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A file that cannot be created, opened, read or written.
class EInOutError : public Exception {
public:
    using Exception::Exception;
};

// A request for more memory than a text may take, or than the system gives.
class EOutOfMemory : public Exception {
public:
    using Exception::Exception;
};

// A general engine failure with a message of its own.
class EGeneralError : public Exception {
public:
    using Exception::Exception;
};

// An invalid floating-point operation (a value that does not fit an integer).
class EInvalidOp : public Exception {
public:
    using Exception::Exception;
};

// A cast of an object to a class it does not belong to.
class EInvalidCast : public Exception {
public:
    using Exception::Exception;
};

// A service a part of the program needed and was not given (a program that
// forgot to hand it over); the message names the service.
class EMissingService : public EGeneralError {
public:
    using EGeneralError::EGeneralError;
};
