#pragma once
// "About Tovin": the picture, the version, and a button to the product's web site.

#include <QDialog>
#include <functional>

namespace tovin {

inline constexpr const char* kVersionText = "Version 3.7 Beta January 2003";
inline constexpr const char* kWebSiteUrl = "https://verrimond.github.io/tovin/";

class CAboutDialog : public QDialog {
    Q_OBJECT
public:
    // openWebSite is asked to show kWebSiteUrl when "Visit Web Site" is pressed.
    CAboutDialog(std::function<void(const std::string&)> openWebSite, QWidget* parent = nullptr);
};

} // namespace tovin
