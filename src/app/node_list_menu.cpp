#include "app/node_list_menu.h"

#include <vector>

#include "context/app_context.h"

void OpenNodeListMenu(AppContext& app) {
  // A right click beside the rows leaves none selected: no node to act on.
  if (app.form.SelectedRow(Ctl::超级列表框_服务器列表) == -1) return;
  std::vector<PopupEntry> items(ListMenuItems().begin(), ListMenuItems().end());
  for (PopupEntry& item : items) {
    // "删除" does what the button does, and only when the button may.
    if (item.caption == menu::删除) item.enabled = app.form.Enabled(Ctl::按钮_删除);
    if (item.caption == menu::测试全部节点延迟) item.checked = app.nodes.sweep.running;
  }
  app.form.PopupListMenu(items);
}
