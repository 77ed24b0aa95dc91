#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "app/QuenmarForm.h"
#include "widgets/Application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_LINK_CLASS};
    InitCommonControlsEx(&controls);

    auto& application = quenmar::widgets::Application::Instance();
    application.SetTitle(quenmar::kApplicationTitle);
    int result = 0;
    application.Guard(nullptr, [&] {
        quenmar::TfrmQuenmar mainForm;
        result = application.Run(mainForm);
    });
    OleUninitialize();
    return result;
}
