#pragma once
// Message texts of the script engine and its run-time error classes.
//
// The texts are looked up by the keys of the engine string resources
// ("SLangNotFound", "SIdUndeclared", ...). The table starts with the built-in
// English texts; the report engine replaces them after every load of its
// resources through fsSetResources, so this room never depends on it.

#include "base/Errors.h"

#include <QMap>
#include <QString>
#include <QStringList>

// The current text of a message key; an unknown key gives the key itself.
QString fsResource(const QString &key);
// Replaces the texts of the keys present in `texts` that the engine knows;
// other keys of the map are ignored, keys absent from it keep their text.
void fsSetResources(const QMap<QString, QString> &texts);
// Puts the built-in English texts back.
void fsResetResources();
// The keys of the table, in their fixed order.
QStringList fsResourceKeys();

// A run-time error of the interpreter, named like the classic runtime's
// exception class it stands for ("EZeroDivide", "EVariantTypeCastError").
class EfsRuntimeError : public Exception {
public:
    EfsRuntimeError(const QString &className, const QString &message);
    const QString &ClassName() const { return FClassName; }

private:
    QString FClassName;
};

// Stops a running script from outside it (a time limit passed, a run
// cancelled). A script's try block does not catch it: it ends the run.
class EfsStopped : public EfsRuntimeError {
public:
    explicit EfsStopped(const QString &message);
};

// The class name a script sees in ExceptionClassName for an error.
QString fsExceptionClassName(const Exception &error);

// Error raised while building a script from its intermediate form; carries the
// position ("line:column") and unit of the construct being processed.
class EfsCompileError : public Exception {
public:
    EfsCompileError(const QString &message, const QString &pos = QString(),
                    const QString &unit = QString());
    QString Pos, Unit;
};

// Raises the variant conversion error "Could not convert variant of type (From)
// into type (To)".
[[noreturn]] void fsRaiseVariantCast(const QString &from, const QString &to);
// "Stack overflow": the interpreter ran short of stack (deep recursion).
[[noreturn]] void fsRaiseStackOverflow();
// The lowest frame address the calling thread may use, found by
// fsFindStackFloor on the thread's first check (null until then).
extern thread_local constinit const char *fsStackFloor;
void fsFindStackFloor();
// Raises "Stack overflow" when the calling thread's stack is nearly used up.
// Called on every script call and every nesting level of the parsers, so that
// deep recursion ends with an error instead of a crash (inline: a compare).
inline void fsCheckStack()
{
    if (!fsStackFloor)
        fsFindStackFloor();
    if (static_cast<const char *>(__builtin_frame_address(0)) < fsStackFloor)
        fsRaiseStackOverflow();
}
