#include "floor/editors/fixedform.h"

#include "common/ui/fitscrollarea.h"

#include <QVBoxLayout>
#include <QWidget>

QWidget* FixedContent(QWidget* window, const QSize& size) {
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("Content"));
    content->setFixedSize(size);
    auto* area = new TFitScrollArea(window);
    area->setObjectName(QStringLiteral("ContentArea"));
    area->setWidgetResizable(false);
    area->setWidget(content);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(area);
    return content;
}
