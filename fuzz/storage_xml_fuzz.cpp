// Storage text as the game reads it: parsed (decoded per its declaration),
// every node visited through the storage interface (values, markup, child
// lookups, out-storage fallbacks to the scratch files "o.xml", "e.xml" and
// the input itself as "self.xml"), objects created from the nodes that
// name a type, and the document saved and read back.
#include <stdexcept>

#include "FuzzSupport.h"
#include "core/Constants.h"
#include "storage/Cipher.h"
#include "storage/ClassRegistry.h"
#include "storage/DataPaths.h"
#include "storage/StorageAccess.h"
#include "storage/XMLStorage.h"

namespace {

using namespace qv;

constexpr int kMaxDepth = 40;
constexpr int kMaxNodes = 400;

void Visit(const StorageRef& node, int depth, int& budget) {
  if (!node || depth > kMaxDepth || --budget < 0) return;
  (void)node->GetNodeName();
  for (int i = 0, n = node->GetAttrCount(); i < n && i < 16; ++i)
    (void)node->ReadAttr(node->GetAttrName(i), "");
  (void)ReadInt(node, "width", 0);
  (void)ReadFloat(node, "x", 0.5);
  (void)ReadBool(node, "visible", true);
  (void)ReadText(node, "caption", "");
  (void)node->GetValue();
  (void)node->ReadChildValue("text");
  if (depth < 4) (void)node->GetText();
  if (depth < 2) (void)node->GetMarkup();
  if (!ReadString(node, "type", "").empty()) {
    try {
      (void)CreateFromNode(node);
    } catch (const std::runtime_error&) {
      // a data error at a loading boundary: the game catches these too
    }
  }
  const Ref<IXMLStorageSlave> slave = Query<IXMLStorageSlave>(node);
  if (!slave) return;
  const pugi::xml_node element = slave->GetElement();
  int index = 0;
  for (pugi::xml_node c = element.first_child(); c && index < 32; c = c.next_sibling(), ++index) {
    if (c.type() != pugi::node_element) continue;
    const int count = node->GetChildCount(c.name());
    for (int i = 0; i < count && i < 4; ++i) Visit(node->GetChild(c.name(), i), depth + 1, budget);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Setup();
  static bool files = [] {
    fuzz::WriteScratchFile("o.xml", "<root a=\"1\"><child width=\"5\">text</child></root>");
    fuzz::WriteScratchFile("e.xml", EncipherToHex("<root b=\"2\"><x/></root>", kGameKey));
    return true;
  }();
  (void)files;
  const std::string text(fuzz::Bytes(data, size));
  fuzz::WriteScratchFile("self.xml", text);
  ResetDataPathCache();

  StorageRef root = LoadStorageText(text);
  if (!root) return 0;
  int budget = kMaxNodes;
  Visit(root, 0, budget);
  (void)root->SelectChild("child");
  const Ref<IHierStorageRoot> doc = AsRoot(root);
  if (doc) {
    const std::string saved = doc->SaveToText();
    StorageRef again = LoadStorageText(saved);
    if (!again) __builtin_trap();  // what the program writes must read back
  }
  return 0;
}
