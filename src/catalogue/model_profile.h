#pragma once

#include <QString>
#include <QVector>

#include "catalogue/model.h"

namespace tabulon {

// A parameter label with the field beside it, as a model shows them.
struct FieldPresentation {
    QString label;  // "Label39"
    QString text;   // its caption for the model (empty when the field is hidden)
    QString edit;   // "Edit24"
    bool visible;
};

// What picking a model changes in the window. Presentation only: no table
// contents are part of it.
struct ModelProfile {
    QString windowCaption;
    QString groupCaption;
    int goodsRows;       // StringGrid1 row count, header row included
    QString codingEnd;   // Edit3 ("Конец")
    int paymentRows;     // StringGrid3
    int headerTextRows;  // StringGrid5
    QVector<FieldPresentation> fields;
};

const ModelProfile& modelProfile(Model model);

// The StringGrid5 row labels that every model change writes (rows 0-12).
QString profileHeaderTextLabel(int row);

}  // namespace tabulon
