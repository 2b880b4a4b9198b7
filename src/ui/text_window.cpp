// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/text_window.h"

#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "core/app_state.h"
#include "core/messages.h"
#include "ui/cell_text.h"
#include "ui/row_icons.h"

namespace lt {

TextWindow::TextWindow(AppState& app, QWidget* parent) : QMainWindow(parent), m_app(app)
{
    setWindowTitle(QStringLiteral("LinkTrawl"));
    setWindowIcon(AppIcon());
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(2, 2, 2, 2);
    m_address = new QComboBox(central);
    m_address->setEditable(true);
    m_address->setMaxCount(7);
    m_pane = new QPlainTextEdit(central);
    m_pane->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_pane->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(m_address);
    layout->addWidget(m_pane, 1);
    setCentralWidget(central);
    connect(m_address->lineEdit(), &QLineEdit::returnPressed, this, [this] { LoadAddress(); });
    if (!app.startup.handoffText.empty())
        m_address->setEditText(DecodeBytes(app.startup.handoffText));
    resize(900, 650);
}

bool TextWindow::LoadAddress()
{
    QFile file(m_address->currentText().trimmed());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    m_pane->setPlainText(DecodeBytes(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
    return true;
}

} // namespace lt
