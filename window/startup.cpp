#include "window/startup.h"

#include "window/frmmain.h"
#include "window/termination.h"

#include <memory>

namespace window
{

void Main()
{
    auto form = std::make_unique<frmMain>();
    form->Form_Load();
    CloseWindowsOnTermination();
    form->Show(vbModal);
    form.reset();
}

} // namespace window
