// ConfigDialog: the tab-button bar and the author's links.
#include "dialogs/ComponentRole.h"
#include "dialogs/ConfigDialog.h"
#include "dialogs/DialogShell.h"
#include "dialogs/LanguageTables.h"
#include "dialogs/PageControl.h"
#include "dialogs/TabButtonLayout.h"

#include <QLabel>
#include <QToolButton>
#include <QUrl>

namespace scr {
namespace {

// Dynamic text: the subject of the e-mail to the author.
constexpr int kTextMailSubject = 11;

} // namespace

void ConfigDialog::PageControlScrChange() {
    const struct {
        QWidget* page;
        QToolButton* tab;
    } pairs[] = {{ui_.generalPage, ui_.generalTab},
                 {ui_.picturesPage, ui_.picturesTab},
                 {ui_.musicPage, ui_.musicTab},
                 {ui_.licensePage, ui_.licenseTab}};
    for (const auto& pair : pairs)
        if (ui_.pages->ActivePage() == pair.page) pair.tab->setChecked(true);
    LayoutTabButtons();
}

void ConfigDialog::LayoutTabButtons() {
    QToolButton* const order[] = {ui_.generalTab, ui_.picturesTab, ui_.musicTab, ui_.licenseTab};
    std::vector<TabButtonState> states;
    for (const QToolButton* button : order)
        states.push_back({!button->isHidden(), button->isChecked()});
    const auto places = scr::LayoutTabButtons(ui_.tabBar->width(), states);
    for (std::size_t i = 0; i < places.size(); ++i) {
        if (!places[i]) continue;
        order[i]->setGeometry(places[i]->left, 0, places[i]->width, ui_.tabBar->height());
    }
}

void ConfigDialog::BtnTabsClick(QObject* sender) {
    if (!sender) return;
    const int tag = TagOfComponent(sender);
    for (int i = 0; i < ui_.pages->PageCount(); ++i) {
        QWidget* page = ui_.pages->Page(i);
        if (TagOfComponent(page) == tag) {
            ui_.pages->SetActivePage(page);
            break;
        }
    }
    PageControlScrChange();
}

void ConfigDialog::LabelEmailClick() {
    const QString address = ui_.email->text();
    // An address needs an "@" from the second character on.
    if (address.indexOf(QLatin1Char('@'), 1) < 0) return;
    const QString subject = DynamicText(kTextMailSubject, dynamicTexts_);
    QUrl url(QStringLiteral("mailto:") + address);
    url.setQuery(QStringLiteral("subject=") + QString::fromLatin1(QUrl::toPercentEncoding(subject)),
                 QUrl::StrictMode);
    Shell().OpenUrl(url);
}

void ConfigDialog::LabelHomePageClick() {
    const QString page = ui_.homePage->text();
    if (!page.toLower().startsWith(QLatin1String("http"))) return;
    Shell().OpenUrl(QUrl(page));
}

} // namespace scr
