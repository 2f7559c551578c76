// Runs the scan over a fake library and returns the description as a tree text.
#pragma once

#include <string>

#include "fake_type_lib.h"
#include "tree_text.h"
#include "description/type_lib_scan.h"

namespace quenlor::description::testing {

inline std::string Describe(FakeTypeLib& lib) {
  const xml::DocumentPtr document = xml::CreateDocument();
  const xml::NodePtr root = document->ForceRoot("typelib");
  description::ScanTypeLib(lib, root);
  return TreeText(root);
}

// The tree text of the one item a library of one type describes.
inline std::string DescribeOnly(const std::shared_ptr<FakeTypeInfo>& type) {
  FakeTypeLib lib("L");
  lib.types.push_back(type);
  const xml::DocumentPtr document = xml::CreateDocument();
  const xml::NodePtr root = document->ForceRoot("typelib");
  description::ScanTypeLib(lib, root);
  const xml::NodePtr collection = root->Nodes()->GetNode(0);
  return collection ? TreeText(collection->Nodes()->GetNode(0)) : std::string("(nothing)");
}

}  // namespace quenlor::description::testing
