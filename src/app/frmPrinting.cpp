#include "app/frmPrinting.h"

#include <QLabel>
#include <QVBoxLayout>

frmPrinting::frmPrinting(QWidget* owner) : QWidget(owner, Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint) {
    setObjectName(QStringLiteral("frmPrinting"));
    setWindowTitle(QStringLiteral("Printing..."));
    setAttribute(Qt::WA_ShowWithoutActivating);
    lblCaption = new QLabel(QStringLiteral("Setting up printer..."), this);
    lblCaption->setObjectName(QStringLiteral("lblCaption"));
    lblCaption->setMinimumWidth(220);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addWidget(lblCaption);
}

QString frmPrinting::Caption() const { return lblCaption->text(); }

void frmPrinting::SetCaption(const QString& text) { lblCaption->setText(text); }

void frmPrinting::Refresh() { update(); }
