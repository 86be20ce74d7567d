#include "config/node_list.h"

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "context/app_context.h"
#include "context/tray_menu_layout.h"
#include "config/defaults.h"
#include "config/node_line.h"
#include "config/value_codec.h"
#include "shared/gbk_text.h"

namespace {

constexpr Ctl kList = Ctl::超级列表框_服务器列表;
constexpr Ctl kNodeControls[] = {Ctl::编辑框_服务器IP, Ctl::编辑框_服务器端口, Ctl::编辑框_服务器密码,
                                 Ctl::组合框_服务器协议, Ctl::编辑框_服务器备注};

NodeFields EditedNode(const Form& form) {
  return {form.Text(Ctl::编辑框_服务器IP), form.Text(Ctl::编辑框_服务器端口),
          form.Text(Ctl::编辑框_服务器密码), form.ComboSelection(Ctl::组合框_服务器协议),
          form.Text(Ctl::编辑框_服务器备注)};
}

std::vector<std::string> FieldTexts(const NodeFields& node) {
  return {node.address, node.port, node.password, std::to_string(node.protocol), node.remark};
}

// Bytes that are not whole GBK never reach the controls as they are: their
// conversion would read past the end or eat the next character. What the
// controls then hold is remembered, so an untouched node is never rebuilt
// from it.
void ShowNode(AppContext& app, const NodeFields& node) {
  Form& form = app.form;
  form.SetText(Ctl::编辑框_服务器备注, gbk::WholeCharacters(node.remark));
  form.SetText(Ctl::编辑框_服务器IP, gbk::WholeCharacters(node.address));
  form.SetText(Ctl::编辑框_服务器端口, gbk::WholeCharacters(node.port));
  form.SetText(Ctl::编辑框_服务器密码, gbk::WholeCharacters(node.password));
  form.SetComboSelection(Ctl::组合框_服务器协议, node.protocol);
  app.nodes.shown = FieldTexts(EditedNode(form));
}

// Whether the user changed a field since the node was shown.
bool EditorChanged(const AppContext& app) {
  return FieldTexts(EditedNode(app.form)) != app.nodes.shown;
}

bool ValidRow(const AppContext& app, int row) {
  return row >= 0 && row < static_cast<int>(app.nodes.lines.size());
}

std::string CheckedProxyMode(const Form& form) {
  if (form.MenuChecked(menu::直连模式)) return "0";
  if (form.MenuChecked(menu::PAC模式)) return "1";
  if (form.MenuChecked(menu::全局模式)) return "2";
  return "0";
}

// The numbers n of the keys "Node<n>" from 1 to `count`, ascending: the keys
// a count up to `count` would find, visited without counting, so a huge Num
// or key number costs nothing. A name matches as a lookup of "Node" + n
// would: case aside, digits exactly as n is written, no leading zero.
std::vector<int> NodeKeyNumbers(const IniDocument& config, int count) {
  std::vector<int> numbers;
  for (const std::string& key : config.Keys("Node")) {
    const std::string lower = gbk::AsciiLower(key);
    if (!lower.starts_with("node") || lower.size() == 4 || lower[4] == '0' || lower.size() > 14) continue;
    long long n = 0;
    for (std::size_t i = 4; n >= 0 && i < lower.size(); ++i)
      n = lower[i] >= '0' && lower[i] <= '9' ? n * 10 + (lower[i] - '0') : -1;
    if (n >= 1 && n <= count) numbers.push_back(static_cast<int>(n));
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());  // the first duplicate wins
  return numbers;
}

}  // namespace

void LoadNodes(AppContext& app, const IniDocument& config) {
  Form& form = app.form;
  int count = ReadInteger(config.Get("NodeList", "Num", "0"));
  // A Num below 1 beside node keys (-1, a damaged file) would put the
  // default node over Node1 at the next save: it counts every key present.
  if (count < 1 && !NodeKeyNumbers(config, INT_MAX).empty()) count = INT_MAX;
  if (count < 1) {
    NewNode(app);
    return;
  }
  form.SetListRedraw(kList, false);
  for (int i : NodeKeyNumbers(config, count)) {
    std::string line = config.Get("Node", "Node" + std::to_string(i), "");
    if (line.empty()) continue;
    form.AddRow(kList, gbk::WholeCharacters(CaptionForLoaded(line)));
    app.nodes.lines.push_back(std::move(line));
  }
  app.nodes.SyncMarks();
  form.SetListRedraw(kList, true);
  int selected = ReadInteger(config.Get("NodeList", "Select node", "0"));
  // A negative index selects row 0 like an index past the end.
  if (selected < 0 || selected >= form.RowCount(kList)) selected = 0;
  form.SelectRow(kList, selected);
  app.nodes.current = form.SelectedRow(kList);
  ShowSelectedNode(app);
}

void ShowSelectedNode(AppContext& app) {
  Form& form = app.form;
  const int sel = form.SelectedRow(kList);
  if (sel == -1) {
    if (form.RowCount(kList) > 0) form.SelectRow(kList, app.nodes.current);
  } else {
    if (sel != app.nodes.current && ValidRow(app, app.nodes.current) && EditorChanged(app)) {
      StoreEditedNode(app, app.nodes.current);
      form.SelectRow(kList, sel);
    }
    if (ValidRow(app, sel)) ShowNode(app, NodeFromLine(app.nodes.lines[sel]));
    app.nodes.current = sel;
  }
  // Every way the selection is settled ends here (load, new, delete, the
  // user's moves), so the button cannot miss one.
  UpdateDeleteButton(app);
}

void FollowListSelection(AppContext& app) {
  // Only a move to another row stores and shows: showing the current row
  // again would throw away edits not stored yet.
  if (app.form.SelectedRow(kList) != app.nodes.current) ShowSelectedNode(app);
}

void StoreEditedNode(AppContext& app, int row) {
  if (!ValidRow(app, row)) return;
  const NodeFields edited = EditedNode(app.form);
  // A field the user left as it was shown keeps its stored bytes, which the
  // controls may not have been able to hold.
  NodeFields node = edited;
  const std::vector<std::string> now = FieldTexts(edited);
  if (app.nodes.shown.size() == now.size()) {
    const NodeFields stored = NodeFromLine(app.nodes.lines[row]);
    if (now[0] == app.nodes.shown[0]) node.address = stored.address;
    if (now[1] == app.nodes.shown[1]) node.port = stored.port;
    if (now[2] == app.nodes.shown[2]) node.password = stored.password;
    if (now[3] == app.nodes.shown[3]) node.protocol = stored.protocol;
    if (now[4] == app.nodes.shown[4]) node.remark = stored.remark;
  }
  app.nodes.lines[row] = BuildNodeLine(node);
  app.form.SetRowCaption(kList, row, CaptionForEdited(edited));
}

void NewNode(AppContext& app) {
  AppendNodes(app, {{std::string(kDefaultNodeAddress), std::string(kDefaultNodePort),
                     std::string(kDefaultNodePassword), 0, ""}});
}

void AppendNodes(AppContext& app, const std::vector<NodeFields>& nodes) {
  if (nodes.empty()) return;
  Form& form = app.form;
  // The editor's contents are replaced, not stored.
  ShowNode(app, nodes.back());
  form.SetListRedraw(kList, false);
  for (const NodeFields& node : nodes) {
    form.AddRow(kList, CaptionForEdited(node));
    app.nodes.lines.push_back(BuildNodeLine(node));
  }
  app.nodes.SyncMarks();
  form.SetListRedraw(kList, true);
  const int row = form.RowCount(kList) - 1;
  form.SelectRow(kList, row);
  app.nodes.current = row;
  ShowSelectedNode(app);
  for (Ctl c : kNodeControls) form.SetEnabled(c, true);
}

void DeleteNode(AppContext& app) {
  Form& form = app.form;
  const int sel = form.SelectedRow(kList);
  if (sel == -1) {
    form.ShowMessage("当前没有选中节点！", "错误");
    return;
  }
  if (ValidRow(app, sel)) {
    // The node's latency goes with it, whatever row it sat in.
    app.nodes.SyncMarks();
    app.nodes.RemoveMark(sel);
    app.nodes.lines.erase(app.nodes.lines.begin() + sel);
  }
  form.RemoveRow(kList, sel);

  const int remaining = form.RowCount(kList);
  form.SelectRow(kList, sel > 0 ? sel - 1 : (remaining > 0 ? 0 : -1));
  if (form.SelectedRow(kList) == -1) {
    form.SetText(Ctl::编辑框_服务器IP, "");
    form.SetText(Ctl::编辑框_服务器端口, "");
    form.SetText(Ctl::编辑框_服务器密码, "");
    form.SetComboSelection(Ctl::组合框_服务器协议, 0);
    for (Ctl c : kNodeControls) form.SetEnabled(c, false);
  }
  app.nodes.current = form.SelectedRow(kList);
  ShowSelectedNode(app);
}

FileResult SaveNodeList(AppContext& app) {
  Form& form = app.form;
  const int sel = form.SelectedRow(kList);
  if (sel == -1) return {};
  // An untouched node goes back as it was read, byte for byte.
  if (EditorChanged(app)) StoreEditedNode(app, sel);

  const std::string enginePath = form.Text(Ctl::编辑框_文件位置);
  const std::string proxyMode = CheckedProxyMode(form);
  const bool hasRows = form.RowCount(kList) > 0;
  return app.config.Update([&](IniDocument& doc) {
    doc.Set("NodeList", "Num", std::to_string(app.nodes.lines.size()));
    doc.Set("NodeList", "Select node", std::to_string(sel));
    if (hasRows) {
      doc.DeleteSection("Node");
      for (std::size_t i = 0; i < app.nodes.lines.size(); ++i)
        doc.Set("Node", "Node" + std::to_string(i + 1), app.nodes.lines[i]);
    }
    doc.Set("BasisConfig", "File", enginePath);
    doc.Set("BasisConfig", "Proxy Mode", proxyMode);
    doc.Set("BasisConfig", "Run Mode", app.run.runMode);
  });
}

void UpdateDeleteButton(AppContext& app) {
  app.form.SetEnabled(Ctl::按钮_删除,
                      app.form.RowCount(kList) > 0 && app.form.SelectedRow(kList) != -1);
}
