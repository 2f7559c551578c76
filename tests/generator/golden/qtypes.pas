unit QTypes_TLB;

{$TYPEDADDRESS OFF}
{$WARN SYMBOL_PLATFORM OFF}
{$WRITEABLECONST ON}
{$VARPROPSETTER ON}

interface

uses
  Windows, ActiveX, Variants;

const
  IID_IQTypes: TGUID = '{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A2002}';

type
  QSmallEnum = TOleEnum;

const
  qseOne = 1;
  qseTwo = 2;

type
  IQTypes = interface;

  QTypesPointer = ^IQTypes;
  QLongPointer = ^Longint;
  QVariantArray = OleVariant;

  QInner = packed record
    a: Smallint;
    b: Char;
  end;

  QAllTypes = packed record
    f_i1: Char;
    f_ui1: Byte;
    f_i2: Smallint;
    f_ui2: Word;
    f_i4: Longint;
    f_ui4: LongWord;
    f_i8: Int64;
    f_ui8: Int64;
    f_int: Integer;
    f_uint: Cardinal;
    f_int_ptr: Int64;
    f_uint_ptr: Int64;
    f_r4: Single;
    f_r8: Double;
    f_cy: Currency;
    f_date: TOleDate;
    f_bstr: WideString;
    f_dispatch: IDispatch;
    f_unknown: IUnknown;
    f_error: HResult;
    f_bool: WordBool;
    f_variant: OleVariant;
    f_decimal: TDecimal;
    f_lpstr: PChar;
    f_lpwstr: PWideChar;
    f_hresult: HResult;
    f_byte: Byte;
    f_wchar: Smallint;
    f_boolean: Char;
    f_small: Char;
    f_int3264: Int64;
    f_enum: QSmallEnum;
    f_record: QInner;
    f_interface: ^IQTypes;
    f_void_ptr: Pointer;
  end;

  QArrays = packed record
    one: array[0..3] of Longint;
    two: array[0..1, 0..2] of Smallint;
    three: array[0..1, 0..2, 0..3] of Double;
    records: array[0..4] of QInner;
    pointers: array[0..1] of Pointer;
    safe: OleVariant;
    safe_bstr: OleVariant;
    safe_records: OleVariant;
    pointer_pointer: ^Longint;
    bytes: array[0..0] of Byte;
  end;

  IQTypes = interface(IUnknown)
    ['{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A2002}']
    function InScalars(i1: Char; ui1: Byte; i2: Smallint; ui2: Word; i4: Longint; 
      ui4: LongWord; i8: Int64; ui8: Int64; i: Integer; ui: Cardinal; r4: Single; r8: Double): HResult; stdcall;
    function InAutomation(cy: Currency; date: TOleDate; const bstr: WideString; 
      const disp: IDispatch; const unk: IUnknown; scode: HResult; b: WordBool; 
      v: OleVariant; dec: TDecimal; lpstr: PChar; lpwstr: PWideChar): HResult; stdcall;
    function InPointerSized(ip: Int64; up: Int64; i3264: Int64; u3264: Int64; 
      opaque: Pointer): HResult; stdcall;
    function InUserDefined(e: QSmallEnum; var rec: QInner; const self: IQTypes; 
      var all: QAllTypes; var arrays: QArrays): HResult; stdcall;
    function OutPointers(out i1: Char; out i2: Smallint; out i4: Longint; out i8: Int64; 
      out r8: Double; out cy: Currency; out bstr: WideString; out v: OleVariant; 
      out disp: IDispatch; out unk: IUnknown; out dec: TDecimal; out rec: QInner; 
      out e: QSmallEnum): HResult; stdcall;
    function PointerPointers(var bstrpp: WideString; var unkppp: IUnknown; 
      out selfpp: IQTypes; var i4ppp: Longint; var recpp: QInner; var vpp: OleVariant): HResult; stdcall;
    function SafeArrays(longs: OleVariant; strings: OleVariant; variants: OleVariant; 
      records: OleVariant; interfaces: OleVariant; enums: OleVariant; 
      var byref: OleVariant; out dispatches: OleVariant): HResult; stdcall;
    function FixedArrays(var one: Longint; var two: Smallint; var three: QInner): HResult; stdcall;
    function Aliases(lp: QLongPointer; va: QVariantArray; tp: QTypesPointer; 
      var ia: QInner): HResult; stdcall;
    function ReturnsI1: HResult; stdcall;
    function ReturnsUI1: HResult; stdcall;
    function ReturnsI2: HResult; stdcall;
    function ReturnsUI2: HResult; stdcall;
    function ReturnsI4: HResult; stdcall;
    function ReturnsUI4: HResult; stdcall;
    function ReturnsI8: HResult; stdcall;
    function ReturnsUI8: HResult; stdcall;
    function ReturnsInt: HResult; stdcall;
    function ReturnsUInt: HResult; stdcall;
    function ReturnsR4: HResult; stdcall;
    function ReturnsR8: HResult; stdcall;
    function ReturnsCy: HResult; stdcall;
    function ReturnsDate: HResult; stdcall;
    function ReturnsBstr: HResult; stdcall;
    function ReturnsDispatch: HResult; stdcall;
    function ReturnsUnknown: HResult; stdcall;
    function ReturnsScode: HResult; stdcall;
    function ReturnsBool: HResult; stdcall;
    function ReturnsVariant: HResult; stdcall;
    function ReturnsLpstr: HResult; stdcall;
    function ReturnsLpwstr: HResult; stdcall;
    function ReturnsVoid: HResult; stdcall;
    function ReturnsVoidPointer: HResult; stdcall;
    function ReturnsIntPtr: HResult; stdcall;
    function ReturnsRecordPointer: HResult; stdcall;
    function ReturnsEnum: HResult; stdcall;
  end;

implementation

end.
