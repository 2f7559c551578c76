// Enumerations, records, unions, aliases, coclasses and modules.
#include "description/type_lib_scan.h"

namespace quenlor::description {

namespace {

std::int32_t ConstantValue(const typelib::VarDesc& var) {
  return var.value ? VariantToInt32(*var.value) : 0;
}

// The member loop of enumerations, records, unions and module constants: every readable
// variable becomes one member element under a grouping child made on the first one.
template <typename WriteMember>
void WriteMembers(const xml::NodePtr& item, typelib::ITypeInfoAccess& type_info, const typelib::TypeAttr& type_attr,
                  std::string_view group_name, std::string_view member_name, WriteMember write_member) {
  xml::NodePtr group;
  for (unsigned index = 0; index < type_attr.c_vars; ++index) {
    typelib::VarDesc var;
    if (typelib::Failed(type_info.GetVarDesc(index, var))) continue;
    if (!group) group = item->Nodes()->Add(group_name);
    const xml::NodePtr member = group->Nodes()->Add(member_name);
    const xml::NamedValuesPtr values = member->Attributes()->Values();
    values->WriteString("name", MemberName(type_info, var.memid));
    write_member(*values, var);
  }
}

void WriteFields(const xml::NodePtr& root, std::string_view collection_name, std::string_view item_name,
                 typelib::ITypeInfoAccess& type_info, const typelib::TypeAttr& type_attr) {
  const xml::NodePtr item = AddTypeItem(root, collection_name, item_name);
  WriteTypeHeader(type_info, type_attr, item);
  WriteMembers(item, type_info, type_attr, "items", "item", [&type_info](xml::INamedValues& values, const typelib::VarDesc& var) {
    const typelib::TypeDesc& desc = var.elemdesc_var.tdesc;
    const std::string type = TypeDescText(type_info, desc);
    values.WriteString("type", type);
    // An untyped or unreadable pointer already says "Pointer"; it is no reference to anything.
    if (type != "Pointer" && desc.vt == VT_PTR_) values.WriteBool("ref", true);
  });
}

}  // namespace

void WriteEnum(const xml::NodePtr& root, typelib::ITypeInfoAccess& type_info, const typelib::TypeAttr& type_attr) {
  const xml::NodePtr item = AddTypeItem(root, "enums", "enum");
  WriteTypeHeader(type_info, type_attr, item);
  WriteMembers(item, type_info, type_attr, "items", "item", [](xml::INamedValues& values, const typelib::VarDesc& var) {
    values.WriteInteger("value", ConstantValue(var));
  });
}

void WriteRecord(const xml::NodePtr& root, typelib::ITypeInfoAccess& type_info, const typelib::TypeAttr& type_attr) {
  WriteFields(root, "records", "record", type_info, type_attr);
}

void WriteUnion(const xml::NodePtr& root, typelib::ITypeInfoAccess& type_info, const typelib::TypeAttr& type_attr) {
  WriteFields(root, "unions", "union", type_info, type_attr);
}

void WriteAlias(const xml::NodePtr& root, typelib::ITypeInfoAccess& type_info, const typelib::TypeAttr& type_attr) {
  const xml::NodePtr item = AddTypeItem(root, "aliases", "alias");
  WriteTypeHeader(type_info, type_attr, item);
  const xml::NamedValuesPtr values = item->Attributes()->Values();
  const typelib::TypeDesc& desc = type_attr.tdesc_alias;
  values->WriteString("type", TypeDescText(type_info, desc));
  // An alias of void* is the untyped Pointer itself, no pointer to one.
  if (desc.vt == VT_PTR_ && !(desc.pointee && desc.pointee->vt == VT_VOID_)) values->WriteBool("ref", true);
}

void WriteCoClass(const xml::NodePtr& root, typelib::ITypeInfoAccess& type_info, const typelib::TypeAttr& type_attr) {
  const xml::NodePtr item = AddTypeItem(root, "coclasses", "coclass");
  WriteTypeHeader(type_info, type_attr, item);
}

void WriteModule(const xml::NodePtr& root, typelib::ITypeInfoAccess& type_info, const typelib::TypeAttr& type_attr) {
  const xml::NodePtr item = AddTypeItem(root, "modules", "module");
  WriteTypeHeader(type_info, type_attr, item);
  WriteMembers(item, type_info, type_attr, "consts", "const", [](xml::INamedValues& values, const typelib::VarDesc& var) {
    const std::string value = var.value && var.value->vt == VT_BSTR_ ? QuoteString(var.value->text)
                                                                     : std::to_string(ConstantValue(var));
    values.WriteVariant("value", Variant::String(value));
  });
  xml::NodePtr funcs;
  for (unsigned index = 0; index < type_attr.c_funcs; ++index) {
    typelib::FuncDesc func;
    if (typelib::Failed(type_info.GetFuncDesc(index, func))) continue;
    if (!funcs) funcs = item->Nodes()->Add("funcs");
    const xml::NodePtr node = funcs->Nodes()->Add("func");
    node->Attributes()->Values()->WriteString("name", MemberName(type_info, func.memid));
    WriteSignature(node, type_info, func);
  }
}

std::string QuoteString(std::string_view value) {
  if (value.empty()) return "''";
  std::string text;
  bool quoted = false;
  for (const char c : value) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 32) {
      if (quoted) {
        text += '\'';
        quoted = false;
      }
      text += '#';
      text += std::to_string(code);
    } else {
      if (!quoted) {
        text += '\'';
        quoted = true;
      }
      text += c;
      if (c == '\'') text += '\'';
    }
  }
  if (quoted) text += '\'';
  return text;
}

}  // namespace quenlor::description
