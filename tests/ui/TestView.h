// A view built from every widget type, the way pages build theirs, shown in a
// window of the window base. It counts paints, window moves and clicks so
// that tests can check the shared mouse pattern.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "ui/BaseView.h"
#include "ui/BaseWindow.h"
#include "ui/ButtonResource.h"
#include "ui/CheckboxResource.h"
#include "ui/EditResource.h"
#include "ui/ImageResource.h"
#include "ui/LayoutResource.h"
#include "ui/ProgressResource.h"
#include "ui/ResourceManager.h"
#include "ui/SpacerResource.h"
#include "ui/TextResource.h"

namespace uitest {

enum TestIds : int32_t {
    kRootId = 100,
    kBackgroundId = 0,
    kLogoId = 1,
    kCloseId = 2,
    kTitleId = 3,
    kAgreeId = 6,
    kInstallId = 7,
    kLaterId = 8,
    kBannerId = 9,
    kRowId = 20,
};

class CTestView : public IBaseView {
public:
    CTestView(HWND window, IResourceMgr* skin, bool layered) : IBaseView(window, skin), layered_(layered) {}

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_PAINT) {
            ++paints;
            return layered_ ? PaintLayered() : PaintOpaque(message, wParam, lParam);
        }
        LRESULT result = 0;
        if (HandleSharedMessage(message, wParam, lParam, result)) return result;
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }

    int paints = 0;
    int moves = 0;
    std::vector<int32_t> clickedIds;

    CButtonResource* install = nullptr;
    CButtonResource* later = nullptr;
    CTextResource* title = nullptr;
    CProgressResource* progress = nullptr;
    CEditResource* edit = nullptr;

    // The surface: a title row (logo, close button), a heading, the edit box,
    // a check box, a banner, the progress bar and a row of two buttons.
    void Build() {
        auto* root = AddWidget(std::make_unique<CLayoutResource>(1, kRootId));
        WidgetStyleSet backgroundStyle;
        backgroundStyle[kStateNormal].fillColor = 0xFFFFFFFF;
        backgroundStyle[kStateNormal].borderWidth = 1;
        backgroundStyle[kStateNormal].borderColor = 0x26FFFFFF;
        auto* background =
            AddWidget(std::make_unique<CImageResource>(kBackgroundId, &backgroundStyle, kTypeBackground));
        background->SetImage(Picture(L"main_bg.png"));
        root->SetBackground(background);

        auto* titleRow = AddWidget(std::make_unique<CLayoutResource>(2, kRowId));
        titleRow->geometry.marginLeft = 16;
        titleRow->geometry.marginTop = 8;
        titleRow->geometry.marginRight = 8;
        titleRow->geometry.marginBottom = 4;
        auto* logo = AddWidget(std::make_unique<CImageResource>(kLogoId, nullptr, kTypeImage));
        logo->SetImage(Picture(L"logo.png"));
        auto* gap = AddWidget(std::make_unique<CSpacerResource>());
        WidgetStyleSet closeStyle;
        for (WidgetStyle& s : closeStyle)
            s.borderColor = 0x00FFFFFF;
        auto* close = AddWidget(std::make_unique<CButtonResource>(kCloseId, L"", &closeStyle));
        close->aspectRatio = 1.0;
        close->SetStateImage(kStateNormal, Picture(L"global_btn_close_normal.png"));
        close->SetStateImage(kStateHover, Picture(L"global_btn_close_hover.png"));
        close->SetStateImage(kStatePressed, Picture(L"global_btn_close_hover.png"));
        titleRow->AddChild(logo, 15);
        titleRow->AddChild(gap, 40);
        titleRow->AddChild(close, 2);

        auto* body = AddWidget(std::make_unique<CLayoutResource>(1, kRowId));
        body->geometry.marginLeft = 40;
        body->geometry.marginRight = 40;
        body->geometry.spacing = 8;
        WidgetStyleSet titleStyle;
        titleStyle[kStateNormal].fontSize = 20;
        titleStyle[kStateNormal].bold = true;
        titleStyle[kStateNormal].textColor = 0xD9171C1B;
        titleStyle[kStateNormal].hAlign = kAlignCentre;
        title = AddWidget(std::make_unique<CTextResource>(kTitleId, &titleStyle, L"欢迎使用 Tarvel 安装程序"));

        WidgetStyleSet editStyle;
        for (WidgetStyle& s : editStyle) {
            s.fillColor = 0xFFFFFFFF;
            s.borderWidth = 1;
            s.borderColor = 0xFFD5DBD8;
            s.fontSize = 14;
        }
        edit = AddWidget(std::make_unique<CEditResource>(&editStyle, hwnd));
        edit->outsetY = -1;

        WidgetStyleSet agreeStyle = CCheckboxResource::DefaultStyles();
        const uint32_t agreeColours[] = {0xFF69746E, 0xFF00CB87, 0xFF00A26B};
        for (int i = 0; i < 3; ++i) {
            agreeStyle[i].textColor = agreeColours[i];
            agreeStyle[i].fontSize = 14;
        }
        AddWidget(std::make_unique<CCheckboxResource>(kAgreeId, &agreeStyle, L"我已阅读并同意用户协议",
                                                      Picture(L"main_checkbox_select.png"),
                                                      Picture(L"main_checkbox_deselect.png")));

        auto* banner = AddWidget(std::make_unique<CImageResource>(kBannerId, nullptr, kTypeImage));
        banner->SetImage(Picture(L"install_banner.png"));
        banner->aspectRatio = 2.0;

        WidgetStyleSet progressStyle;
        progressStyle[kStateNormal].textColor = 0xFF00CB87;
        progressStyle[kStateNormal].fillColor = 0xFFE6EBE8;
        progressStyle[kStateNormal].cornerRadius = 100;
        progress = AddWidget(std::make_unique<CProgressResource>(&progressStyle));
        progress->SetPercent(60);

        auto* buttons = AddWidget(std::make_unique<CLayoutResource>(2, kRowId));
        buttons->geometry.spacing = 12;
        auto* lead = AddWidget(std::make_unique<CSpacerResource>());
        WidgetStyleSet installStyle = CButtonResource::DefaultStyles();
        const uint32_t greens[] = {0xFF00CB87, 0xFF25E887, 0xFF00A26B, 0xFFD8D8D8};
        for (int i = 0; i < 4; ++i) {
            installStyle[i].fillColor = greens[i];
            installStyle[i].cornerRadius = 10;
            installStyle[i].fontSize = 15;
        }
        install = AddWidget(std::make_unique<CButtonResource>(kInstallId, L"立即安装", &installStyle));
        WidgetStyleSet laterStyle = installStyle;
        for (WidgetStyle& s : laterStyle) {
            s.underline = true;
            s.fillColor = 0x00FFFFFF;
            s.textColor = 0xFF69746E;
        }
        later = AddWidget(std::make_unique<CButtonResource>(kLaterId, L"稍后安装", &laterStyle));
        later->state = kStateDisabled;
        buttons->AddChild(lead, 2);
        buttons->AddChild(install, 3);
        buttons->AddChild(later, 3);

        body->AddChild(title, 30);
        body->AddChild(edit, 26);
        body->AddChild(FindById(kAgreeId), 18);
        body->AddChild(banner, 110);
        body->AddChild(progress, 6);
        body->AddChild(buttons, 36);

        root->AddChild(titleRow, 44);
        root->AddChild(body, 300);
        root->AddChild(AddWidget(std::make_unique<CSpacerResource>()), 20);

        RECT client{};
        ::GetClientRect(hwnd, &client);
        root->SetRect(client.left, client.top, client.right, client.bottom);
    }

protected:
    void StartWindowMove() override { ++moves; }
    void OnClick(int32_t index, LPARAM) override { clickedIds.push_back(widgets[static_cast<size_t>(index)]->id); }

private:
    CSkinImage* Picture(const wchar_t* name) { return resourceMgr != nullptr ? resourceMgr->GetImage(name) : nullptr; }

    bool layered_;
};

// The point at the centre of a widget, packed as a mouse message's lParam.
inline LPARAM CentreOf(const IBaseResource& widget) {
    const int32_t x = static_cast<int32_t>((int64_t{widget.rect.left} + widget.rect.right) / 2);
    const int32_t y = static_cast<int32_t>((int64_t{widget.rect.top} + widget.rect.bottom) / 2);
    return MAKELPARAM(x, y);
}

}  // namespace uitest
