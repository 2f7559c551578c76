// SLTG type blocks: a type's header, its member data and the chains of functions,
// variables and implemented types in it.
#include <cstring>
#include <memory>

#include "typelib/reader/ansi.h"
#include "typelib/reader/sltg_parser.h"

namespace quenlor::typelib::reader::sltg {

void SltgParser::ReadTypeInfo(const Block& block, const Directory& dir, TypeInfo& type) {
  Cursor h(block.data);
  Require(h.U16() == kTypeInfoMagic, image_, block.data, 0, "type block magic");
  const std::int32_t ref_table = h.I32();
  h.U32();
  const std::uint32_t member_header = h.U32();
  h.U32();
  type.major = h.U16();
  type.minor = h.U16();
  h.U32();
  const std::uint8_t flags_low = h.U8();
  const std::uint8_t flags_high = h.U8();
  h.U8();
  const std::uint8_t kind = h.U8();
  h.U32();
  Require(h.ok() && h.position() == kTypeHeaderSize, image_, h, "type header truncated");
  Require(kind <= TKIND_UNION_, image_, block.data, 0x1D, "type kind unknown");

  type.name = dir.name;
  type.doc_string = dir.doc_string;
  type.help_context = dir.help_context;
  type.guid = dir.guid;
  type.flags = static_cast<std::uint16_t>((flags_low >> 3) | (flags_high << 5));
  type.kind = static_cast<TypeKind>(kind);
  // A dual interface is the dispatch type over its vtable functions.
  if (type.kind == TKIND_INTERFACE_ && (type.flags & kTypeFlagDual)) type.kind = TKIND_DISPATCH_;

  const std::vector<RefEntry> refs = ReadRefTable(block.data, ref_table);

  Cursor mh(block.data, member_header);
  mh.Skip(5);
  const std::uint32_t extra = mh.U32();
  Require(mh.ok() && mh.position() == std::uint64_t{member_header} + kMemberHeaderSize &&
              InRange(mh.position(), std::uint64_t{extra} + kTailSize, block.data.size()),
          image_, block.data, 0x0A, "member data outside the block");
  Members members{image_, mh.Span(mh.remaining())};
  const TypeContext ctx{&members, &refs};

  Cursor t = members.At(extra);
  const std::uint16_t func_count = t.U16();
  const std::uint16_t var_count = t.U16();
  const std::uint16_t impl_count = t.U16();
  t.U16();
  const std::uint16_t first_func = t.U16();
  const std::uint16_t first_var = t.U16();
  const std::uint16_t first_impl = t.U16();
  t.Skip(6);
  const std::uint16_t alias = t.U16();
  t.Skip(6);
  const std::uint16_t simple_alias = t.U16();
  t.U16();
  type.cb_size_instance = t.U16();
  type.cb_alignment = t.U16();
  t.Skip(4);
  type.cb_size_vft = t.U16();
  Require(t.ok(), image_, t, "type tail outside the block");

  if (type.kind == TKIND_ALIAS_) {
    std::uint16_t word = 0;
    type.alias = TypeField(ctx, alias, simple_alias != 0, word);
  }

  // Each record is at least a few bytes, so a count beyond the block's size is corrupt.
  Require(func_count <= members.region.size() / 0x16 && var_count <= members.region.size() / 0x12 &&
              impl_count <= members.region.size() / kImplRecordSize,
          image_, members.region, extra, "member count beyond the block");
  ReadFunctions(ctx, first_func, func_count, type);
  ReadVariables(ctx, first_var, var_count, type);
  ReadImplTypes(ctx, first_impl, impl_count, type);
  // A pure dispinterface's stored base is IDispatch; the access layer presents it from
  // the library's IDispatch reference.
  if (type.kind == TKIND_DISPATCH_ && !(type.flags & kTypeFlagDual)) {
    if (!type.impls.empty() && !lib_->dispatch_href) lib_->dispatch_href = type.impls.front().href;
    type.impls.clear();
  }
}

void SltgParser::ReadFunctions(const TypeContext& ctx, std::uint16_t offset, std::uint16_t count, TypeInfo& type) {
  type.funcs.reserve(count);
  for (std::uint16_t i = 0; i < count; ++i) {
    Require(offset != kNoOffset, image_, ctx.members->region, 0, "function chain ends early");
    Cursor c = ctx.members->At(offset);
    const std::uint64_t at = Where(c);
    const std::uint8_t magic = c.U8();
    const std::uint8_t invoke = c.U8();
    const std::uint16_t next = c.U16();
    const std::uint16_t name = c.U16();
    Func f;
    f.memid = c.I32();
    const std::uint16_t help_context = c.U16();
    const std::uint16_t help_string = c.U16();
    const std::uint16_t args = c.U16();
    const std::uint8_t cc = c.U8();
    const std::uint8_t ret_info = c.U8();
    const std::uint16_t ret = c.U16();
    const std::uint16_t vtable = c.U16();
    if (magic & 0x20) f.flags = c.U16();
    Require(c.ok(), image_, c, "function record outside the block");

    switch (magic & ~0x20) {
      case 0x4C: f.funckind = 1; break;  // FUNC_PUREVIRTUAL
      case 0x8B: f.funckind = 3; break;  // FUNC_STATIC
      case 0xCB: f.funckind = 4; break;  // FUNC_DISPATCH
      default: Fail(at, "function record magic");
    }
    f.invkind = invoke >> 4;
    Require(f.invkind == 1 || f.invkind == 2 || f.invkind == 4 || f.invkind == 8, at + 1, "invocation kind unknown");
    f.callconv = cc & 0x07;
    const unsigned param_count = cc >> 3;
    f.c_params_opt = static_cast<std::int16_t>((ret_info >> 1) & 0x3F);
    Require(static_cast<unsigned>(f.c_params_opt) <= param_count, at + 17, "more optional parameters than parameters");
    f.o_vft = static_cast<std::int16_t>(vtable & ~1u);
    f.name = Name(name);
    f.help_context = help_context == 0xFFFE ? 0 : help_context;
    f.doc_string = MemberHelpString(*ctx.members, help_string);

    std::uint16_t ret_word = 0;
    f.ret.tdesc = TypeField(ctx, ret, (ret_info & 0x80) != 0, ret_word);
    f.ret.param_flags = ParamFlags(ret_word);

    if (param_count > 0) {
      Require(args != kNoOffset, at + 14, "parameters missing");
      Cursor a = ctx.members->At(args);
      f.params.resize(param_count);
      for (unsigned p = 0; p < param_count; ++p) {
        const std::uint16_t pname = a.U16();
        const std::uint16_t ptype = a.U16();
        Require(a.ok(), image_, a, "parameter outside the block");
        Param& param = f.params[p];
        bool inline_type;
        if (pname == 0xFFFF) {
          inline_type = true;
        } else if (pname == 0xFFFE) {
          inline_type = false;
        } else {
          inline_type = (pname & 1) != 0;
          param.name = Name(pname & ~1u);
        }
        std::uint16_t word = 0;
        param.elem.tdesc = TypeField(ctx, ptype, inline_type, word);
        param.elem.param_flags = ParamFlags(word);
        if (p >= param_count - static_cast<unsigned>(f.c_params_opt)) param.elem.param_flags |= kParamOpt;
      }
    }
    type.funcs.push_back(std::move(f));
    offset = next;
  }
}

Variant SltgParser::ConstValue(const TypeContext& ctx, std::uint16_t vt, std::uint8_t flags, std::uint16_t field) {
  // Enumerators and other user-typed constants hold 4-byte integers.
  const std::uint16_t value_vt = vt == VT_USERDEFINED_ ? std::uint16_t{VT_I4_} : vt;
  if (flags & kVarValueInline) {
    switch (value_vt) {
      case VT_UI1_: case VT_UI2_: case VT_UI4_: case VT_UI8_: case VT_UINT_:
        return Variant::Int(field, value_vt);
      case VT_BOOL_:
        return Variant::Bool(field != 0);
      default:
        return Variant::Int(static_cast<std::int16_t>(field), value_vt);
    }
  }
  Cursor c = ctx.members->At(field);
  Variant v;
  switch (value_vt) {
    case VT_BSTR_: case VT_LPSTR_: case VT_LPWSTR_: {
      const std::uint16_t length = c.U16();
      v = Variant::String(AnsiToUtf8(c.Text(length)));
      v.vt = value_vt;
      break;
    }
    case VT_I1_: v = Variant::Int(static_cast<std::int8_t>(c.U32()), value_vt); break;
    case VT_I2_: v = Variant::Int(static_cast<std::int16_t>(c.U32()), value_vt); break;
    case VT_UI1_: v = Variant::Int(static_cast<std::uint8_t>(c.U32()), value_vt); break;
    case VT_UI2_: v = Variant::Int(static_cast<std::uint16_t>(c.U32()), value_vt); break;
    case VT_UI4_: case VT_UINT_: v = Variant::Int(c.U32(), value_vt); break;
    case VT_BOOL_: v = Variant::Bool(static_cast<std::int16_t>(c.U32()) != 0); break;
    case VT_R4_: {
      const std::uint32_t bits = c.U32();
      float f;
      std::memcpy(&f, &bits, sizeof f);
      v = Variant::Real(f, VT_R4_);
      break;
    }
    case VT_R8_: case VT_DATE_: {
      const std::uint64_t bits = c.U64();
      double d;
      std::memcpy(&d, &bits, sizeof d);
      v = Variant::Real(d, value_vt);
      break;
    }
    case VT_I8_: case VT_UI8_: case VT_CY_:
      v = Variant::Int(static_cast<std::int64_t>(c.U64()), value_vt);
      break;
    default:
      v = Variant::Int(c.I32(), value_vt);
      break;
  }
  Require(c.ok(), image_, c, "constant outside the block");
  return v;
}

void SltgParser::ReadVariables(const TypeContext& ctx, std::uint16_t offset, std::uint16_t count, TypeInfo& type) {
  type.vars.reserve(count);
  std::string previous_name;
  for (std::uint16_t i = 0; i < count; ++i) {
    Require(offset != kNoOffset, image_, ctx.members->region, 0, "variable chain ends early");
    Cursor c = ctx.members->At(offset);
    const std::uint64_t at = Where(c);
    const std::uint8_t magic = c.U8();
    const std::uint8_t flags = c.U8();
    const std::uint16_t next = c.U16();
    const std::uint16_t name = c.U16();
    const std::uint16_t value = c.U16();
    const std::uint16_t type_field = c.U16();
    Var v;
    v.memid = c.I32();
    const std::uint16_t help_context = c.U16();
    const std::uint16_t help_string = c.U16();
    if (magic == 0x2A) v.flags = c.U16();
    else Require(magic == 0x0A, at, "variable record magic");
    Require(c.ok(), image_, c, "variable record outside the block");

    v.name = name == 0xFFFE ? previous_name : Name(name);
    previous_name = v.name;
    v.help_context = help_context == 0xFFFE ? 0 : help_context;
    v.doc_string = MemberHelpString(*ctx.members, help_string);
    if (flags & kVarReadOnly) v.flags |= kVarFlagReadOnly;

    std::uint16_t word = 0;
    v.elem.tdesc = TypeField(ctx, type_field, (flags & kVarTypeInline) != 0, word);
    // Fields carry the same direction bits as parameters; the platform reports them.
    v.elem.param_flags = ParamFlags(word);
    if (flags & kVarConst) {
      v.varkind = 2;  // VAR_CONST
      v.value = ConstValue(ctx, v.elem.tdesc.vt, flags, value);
    } else if (flags & kVarDispatch) {
      v.varkind = 3;  // VAR_DISPATCH
    } else {
      v.varkind = 0;  // VAR_PERINSTANCE
      v.o_inst = value;
    }
    type.vars.push_back(std::move(v));
    offset = next;
  }
}

void SltgParser::ReadImplTypes(const TypeContext& ctx, std::uint16_t offset, std::uint16_t count, TypeInfo& type) {
  type.impls.reserve(count);
  for (std::uint16_t i = 0; i < count; ++i) {
    Require(offset != kNoOffset, image_, ctx.members->region, 0, "implemented type chain ends early");
    Cursor c = ctx.members->At(offset);
    Require(c.U16() == kImplMagic, image_, ctx.members->region, offset, "implemented type record magic");
    const std::uint16_t next = c.U16();
    c.U16();
    const std::uint8_t flags = c.U8();
    c.U8();
    c.U16();
    const std::uint16_t reference = c.U16();
    c.Skip(kImplRecordSize - 12);
    Require(c.ok(), image_, c, "implemented type record outside the block");
    // Libraries written by the platform's old tools hold the table index; some writers
    // store it as a 4-byte-aligned offset, recognisable when the index is out of range.
    std::size_t index = reference;
    if (index >= ctx.refs->size() && reference % 4 == 0) index = reference / 4u;
    ImplType impl;
    impl.flags = flags;
    impl.href = index < ctx.refs->size() ? Intern((*ctx.refs)[index]) : kUnresolvedHref;
    type.impls.push_back(std::move(impl));
    offset = next;
  }
}

}  // namespace quenlor::typelib::reader::sltg
