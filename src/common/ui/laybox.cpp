#include "common/ui/laybox.h"

#include "common/messages.h"
#include "common/ui/qtmessenger.h"

void laybox(const QString& msg, QWidget* myform) {
    TMessageOwner owner(myform);
    Messages().Info(MessageCaption(), msg);
}

void laylongbox(const QString& msg, QWidget* myform) {
    TMessageOwner owner(myform);
    Messages().LongInfo(MessageCaption(), msg);
}
