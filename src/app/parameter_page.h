#pragma once

#include <QHash>
#include <QString>
#include <QWidget>

#include "catalogue/table_kind.h"

class QLabel;
class QLineEdit;

namespace tabulon {
struct FieldPresentation;
}

namespace tabulon::app {

class EntryRefusals;

// A parameter tab: the labelled fields of one parameter set, as the catalogue
// lists them, each with its hint and the entry check. The fields' texts are
// the only store of the set's values.
class ParameterPage : public QWidget {
    Q_OBJECT
public:
    // Made empty by the main window's form; build() fills it.
    explicit ParameterPage(QWidget* parent = nullptr);

    void build(ParameterSet set, EntryRefusals* refusals);
    // The page's edit fields by object name ("Edit5").
    const QHash<QString, QLineEdit*>& fields() const { return fields_; }
    // Shows one of the page's fields as a model has it: its label's caption,
    // the field shown or hidden. False when the field is on another page.
    bool present(const FieldPresentation& field);

private:
    QHash<QString, QLineEdit*> fields_;
    QHash<QString, QLabel*> labels_;
};

}  // namespace tabulon::app
