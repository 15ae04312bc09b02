#include "notifier/notification_items.h"

namespace moltr::notifier {

void HandleNotifyItems(const PRINTER_NOTIFY_INFO& info, JobHandling& handling, bool refresh) {
    for (DWORD i = 0; i < info.Count; ++i) {
        const PRINTER_NOTIFY_INFO_DATA& item = info.aData[i];
        if (item.Type == JOB_NOTIFY_TYPE) {
            handling.Handle(item.Field, item.Id, item.NotifyData.adwData[0], refresh);
        }
    }
}

} // namespace moltr::notifier
