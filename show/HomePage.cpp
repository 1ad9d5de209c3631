#include "show/HomePage.h"

#include "platform/CodePage.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace scr {

std::string HomePageAddress(const std::string& stored) {
    std::size_t begin = 0;
    std::size_t end = stored.size();
    while (begin < end && static_cast<unsigned char>(stored[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(stored[end - 1]) <= 32)
        --end;
    std::string address = stored.substr(begin, end - begin);
    return address.rfind("http", 0) == 0 ? address : std::string();
}

void OpenHomePage(const std::string& address) {
    if (address.empty()) return;
    QDesktopServices::openUrl(QUrl(QString::fromStdString(DecodeCodePage(address))));
}

} // namespace scr
