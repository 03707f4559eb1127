#include "window/startup.h"

#include "window/frmmain.h"

#include <memory>

namespace window
{

void Main()
{
    auto form = std::make_unique<frmMain>();
    form->Form_Load();
    form->Show(vbModal);
    form.reset();
}

} // namespace window
