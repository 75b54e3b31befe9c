// The settings dialog's About page: product name, version and picture.
#include "dialogs/setup.h"
#include "dialogs/setup_layout.h"

namespace orv {

using namespace setup_layout;

// The picture resource the renderer shows for the product.
constexpr const char* kProductPicture = "PRODUCT";

void Setup::BuildAboutPage(Control& page) {
    Put(*this, ControlKind::Picture, "imgProduct", -1, &page, {360, 360, 480, 480},
        kProductPicture);
    ui.lblAppName =
        Label(Put(*this, ControlKind::Label, "lblAppName", -1, &page, {1080, 360, 3975, 420}));
    ui.lblAppName->SetFont({"Times New Roman", 15.75, true});
    ui.lblVersion =
        Label(Put(*this, ControlKind::Label, "lblVersion", -1, &page, {1080, 840, 3975, 195}));
}

void Setup::FillAboutPage() {
    // "Orvanex - v3.5": the name before the version suffix, and the version
    // as the name's last three characters.
    const std::string product = ctx_.ProductTitle();
    const auto suffix = product.rfind(" - v");
    ui.lblAppName->SetCaption(suffix == std::string::npos ? product : product.substr(0, suffix));
    ui.lblVersion->SetCaption("version " +
                              product.substr(product.size() < 3 ? 0 : product.size() - 3));
}

}  // namespace orv
