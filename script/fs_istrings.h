#pragma once
// String lists as scripts see them: TStrings (the operations every list
// has), TStringList (a list of its own, optionally sorted) and
// TfsPropertyStrings (a host object's QStringList property seen as TStrings).
//
// A published QStringList property of a host object (a memo's lines, a
// report's script text) reads in a script as a TfsPropertyStrings bound to
// that object and property: every operation reads the property, changes the
// copy and writes it back through the property's setter, so the host sees
// each change at once and keeps its own rules. The bound list never owns the
// host object; once the object is gone, using the list raises an error
// instead of touching freed memory.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

// The operations of every string list; descendants say where the lines live.
class TStrings : public QObject {
    Q_OBJECT
    Q_PROPERTY(int Count READ Count)
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(QString CommaText READ CommaText WRITE SetCommaText)
public:
    using QObject::QObject;

    // The lines as they are now / replaces all of them.
    virtual QStringList Lines() const = 0;
    virtual void SetLines(const QStringList &lines) = 0;

    int Count() const { return int(Lines().size()); }
    // The line at index; raises EfsRuntimeError (EStringListError) out of range.
    QString Get(int index) const;
    virtual void Put(int index, const QString &s);
    // Appends s; returns its index.
    virtual int Add(const QString &s);
    virtual void Insert(int index, const QString &s);
    void Delete(int index);
    void Clear() { SetLines({}); }
    // The index of the first line equal to s ignoring case, or -1.
    virtual int IndexOf(const QString &s) const;
    // Copies the lines of source / appends them.
    void Assign(const TStrings &source) { SetLines(source.Lines()); }
    void AddStrings(const TStrings &source);

    // Every line followed by CR LF. Setting splits at CR LF, LF or CR; a
    // final line break makes no empty last line.
    QString Text() const;
    void SetText(const QString &text);
    // Lines separated by commas; a line with a space, comma, quote or control
    // character is written in double quotes (inner quotes doubled). Setting
    // splits at commas and at unquoted spaces.
    QString CommaText() const;
    void SetCommaText(const QString &text);

protected:
    [[noreturn]] static void RaiseIndexError(int index);
    [[noreturn]] static void RaiseSortedError();
};

// A string list of its own, optionally kept sorted.
class TStringList : public TStrings {
    Q_OBJECT
    Q_PROPERTY(bool Sorted READ Sorted WRITE SetSorted)
    Q_PROPERTY(TDuplicates Duplicates READ Duplicates WRITE SetDuplicates)
    Q_PROPERTY(bool CaseSensitive READ CaseSensitive WRITE SetCaseSensitive)
public:
    // What Add does with a line already in a sorted list.
    enum TDuplicates { dupIgnore, dupAccept, dupError };
    Q_ENUM(TDuplicates)

    using TStrings::TStrings;

    QStringList Lines() const override { return FList; }
    void SetLines(const QStringList &lines) override;
    // In a sorted list Put and Insert raise; Add inserts in order.
    void Put(int index, const QString &s) override;
    int Add(const QString &s) override;
    void Insert(int index, const QString &s) override;
    int IndexOf(const QString &s) const override;

    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates value) { FDuplicates = value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool value);
    // Sorts the lines (ignoring case unless CaseSensitive), stable.
    void Sort();

private:
    int Compare(const QString &a, const QString &b) const;
    // Binary search of a sorted list: the index of s, or where it would go.
    bool Find(const QString &s, int &index) const;

    QStringList FList;
    bool FSorted = false;
    bool FCaseSensitive = false;
    TDuplicates FDuplicates = dupIgnore;
};

// A host object's QStringList property seen as TStrings (see the file comment).
class TfsPropertyStrings : public TStrings {
    Q_OBJECT
public:
    TfsPropertyStrings(QObject *owner, int propertyIndex);
    QStringList Lines() const override;
    void SetLines(const QStringList &lines) override;
    // The host object, or nullptr once it is gone.
    QObject *Owner() const { return FOwner.data(); }
    int PropertyIndex() const { return FPropertyIndex; }

private:
    QObject *CheckedOwner() const;

    QPointer<QObject> FOwner;
    int FPropertyIndex;
};
