#pragma once
// Base of every reflectable report object: the components of the report tree
// and the records they own (font, frame, fill, hyperlink, option records,
// collection items). Their published properties are Qt properties, listed
// through rudPropInfo.h.

#include <QByteArray>
#include <QObject>
#include <QString>

// A report object with published properties and, optionally, binary data of
// its own that templates carry as hexadecimal "PropData".
class TfrxPersistent : public QObject {
    Q_OBJECT
public:
    TfrxPersistent() = default;
    ~TfrxPersistent() override;

    // The object's binary data for the template's PropData attribute; empty
    // when it has none (the attribute is then not written).
    virtual QByteArray GetPropData() const { return {}; }
    // Replays PropData read from a template.
    virtual void SetPropData(const QByteArray &) {}
    // Copies Source's published values into this object (rudAssignProps);
    // a class with unpublished state or change notifications extends it.
    virtual void AssignFrom(const TfrxPersistent &Source);

    // The template attributes of values that are no published properties
    // (a memo's text): each appended to Out as a space, Add, the name, "=",
    // and the escaped value in double quotes; a value equal to Ancestor's
    // (the same object of an ancestor report, or nullptr) is left out.
    virtual void WriteUnpublished(QString &Out, const QString &Add, const TfrxPersistent *Ancestor) const;
    // Reads one template attribute Name (the last part of its path) that is
    // no published property: PropData here, short names and texts in the
    // classes that have them. False when the class has no such value;
    // raises when Value cannot be taken.
    virtual bool ReadUnpublished(QStringView Name, const QString &Value);
};
