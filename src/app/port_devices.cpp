#include "app/port_devices.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>

#include "ports/port_map.h"
#include "settings/settings_file.h"

namespace tabulon::app {

namespace {

class PortDeviceWatch final : public QObject {
public:
    explicit PortDeviceWatch(QComboBox* box) : QObject(box), box_(box) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::Enter:
            case QEvent::ToolTip:
            case QEvent::MouseButtonPress:
            case QEvent::KeyPress:
                showPortDevices(box_);
                break;
            default:
                break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QComboBox* box_;
};

}  // namespace

void watchPortDevices(QComboBox* box) {
    box->installEventFilter(new PortDeviceWatch(box));
    QObject::connect(box, &QComboBox::currentIndexChanged, box, [box](int index) {
        box->setToolTip(box->itemData(index, Qt::ToolTipRole).toString());
    });
}

void showPortDevices(QComboBox* box) {
    const QList<ports::PortAssignment> assigned =
        ports::portAssignments(settings::workingSettingsFile());
    for (int i = 0; i < box->count() && i < assigned.size(); ++i)
        box->setItemData(i, ports::portTooltip(assigned[i]), Qt::ToolTipRole);
    box->setToolTip(box->itemData(box->currentIndex(), Qt::ToolTipRole).toString());
}

}  // namespace tabulon::app
