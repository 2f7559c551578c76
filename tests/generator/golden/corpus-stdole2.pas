unit stdole_TLB;

{$TYPEDADDRESS OFF}
{$WARN SYMBOL_PLATFORM OFF}
{$WRITEABLECONST ON}
{$VARPROPSETTER ON}

interface

uses
  Windows, ActiveX, Variants;

const
  CLSID_StdFont: TGUID = '{0BE35203-8F91-11CE-9DE3-00AA004BB851}';
  CLSID_StdPicture: TGUID = '{0BE35204-8F91-11CE-9DE3-00AA004BB851}';
  IID_Font: TGUID = '{BEF6E003-A874-101A-8BBA-00AA00300CAB}';
  IID_Picture: TGUID = '{7BF80981-BF32-101A-8BBB-00AA00300CAB}';
  IID_FontEvents: TGUID = '{4EF6100A-AF88-11D0-9846-00C04FC29993}';
  IID_IUnknown: TGUID = '{00000000-0000-0000-C000-000000000046}';
  IID_IDispatch: TGUID = '{00020400-0000-0000-C000-000000000046}';
  IID_IEnumVARIANT: TGUID = '{00020404-0000-0000-C000-000000000046}';
  IID_IFont: TGUID = '{BEF6E002-A874-101A-8BBA-00AA00300CAB}';
  IID_IPicture: TGUID = '{7BF80980-BF32-101A-8BBB-00AA00300CAB}';

type
  OLE_TRISTATE = TOleEnum;

const
  Unchecked = 0;
  Checked = 1;
  Gray = 2;

type
  LoadPictureConstants = TOleEnum;

const
  Default = 0;
  Monochrome = 1;
  VgaColor = 2;
  Color = 4;

type
  IUnknown = interface;
  IDispatch = interface;
  IEnumVARIANT = interface;
  IFont = interface;
  IPicture = interface;
  Font = dispinterface;
  Picture = dispinterface;
  FontEvents = dispinterface;

  OLE_COLOR = LongWord;
  OLE_XPOS_PIXELS = Longint;
  OLE_YPOS_PIXELS = Longint;
  OLE_XSIZE_PIXELS = Longint;
  OLE_YSIZE_PIXELS = Longint;
  OLE_XPOS_HIMETRIC = Longint;
  OLE_YPOS_HIMETRIC = Longint;
  OLE_XSIZE_HIMETRIC = Longint;
  OLE_YSIZE_HIMETRIC = Longint;
  OLE_XPOS_CONTAINER = Single;
  OLE_YPOS_CONTAINER = Single;
  OLE_XSIZE_CONTAINER = Single;
  OLE_YSIZE_CONTAINER = Single;
  OLE_HANDLE = Integer;
  OLE_OPTEXCLUSIVE = WordBool;
  OLE_CANCELBOOL = WordBool;
  OLE_ENABLEDEFAULTBOOL = WordBool;
  FONTNAME = WideString;
  FONTSIZE = Currency;
  FONTBOLD = WordBool;
  FONTITALIC = WordBool;
  FONTUNDERSCORE = WordBool;
  FONTSTRIKETHROUGH = WordBool;
  IFontDisp = Font;
  IPictureDisp = Picture;
  IFontEventsDisp = FontEvents;

  GUID = packed record
    Data1: LongWord;
    Data2: Word;
    Data3: Word;
    Data4: array[0..7] of Byte;
  end;

  DISPPARAMS = packed record
    rgvarg: ^OleVariant;
    rgdispidNamedArgs: ^Longint;
    cArgs: Cardinal;
    cNamedArgs: Cardinal;
  end;

  EXCEPINFO = packed record
    wCode: Word;
    wReserved: Word;
    bstrSource: WideString;
    bstrDescription: WideString;
    bstrHelpFile: WideString;
    dwHelpContext: LongWord;
    pvReserved: Pointer;
    pfnDeferredFillIn: Pointer;
    scode: HResult;
  end;

  IUnknown = interface
    ['{00000000-0000-0000-C000-000000000046}']
    function QueryInterface(var riid: TGUID; out ppvObj: Pointer): HResult; stdcall;
    function AddRef: HResult; stdcall;
    function Release: HResult; stdcall;
  end;

  IDispatch = interface(IUnknown)
    ['{00020400-0000-0000-C000-000000000046}']
    function GetTypeInfoCount(out pctinfo: Cardinal): HResult; stdcall;
    function GetTypeInfo(itinfo: Cardinal; lcid: LongWord; out pptinfo: Pointer): HResult; stdcall;
    function GetIDsOfNames(var riid: TGUID; var rgszNames: Char; cNames: Cardinal; 
      lcid: LongWord; out rgdispid: Longint): HResult; stdcall;
    function Invoke(dispidMember: Longint; var riid: TGUID; lcid: LongWord; wFlags: Word; 
      var pdispparams: DISPPARAMS; out pvarResult: OleVariant; 
      out pexcepinfo: EXCEPINFO; out puArgErr: Cardinal): HResult; stdcall;
  end;

  IEnumVARIANT = interface(IUnknown)
    ['{00020404-0000-0000-C000-000000000046}']
    function Next(celt: LongWord; var rgvar: OleVariant; out pceltFetched: LongWord): HResult; stdcall;
    function Skip(celt: LongWord): HResult; stdcall;
    function Reset: HResult; stdcall;
    function Clone(out ppenum: IEnumVARIANT): HResult; stdcall;
  end;

  IFont = interface(IUnknown)
    ['{BEF6E002-A874-101A-8BBA-00AA00300CAB}']
    function Get_Name(out pname: WideString): HResult; stdcall;
    function Set_Name(const pname: WideString): HResult; stdcall;
    function Get_Size(out psize: Currency): HResult; stdcall;
    function Set_Size(psize: Currency): HResult; stdcall;
    function Get_Bold(out pbold: WordBool): HResult; stdcall;
    function Set_Bold(pbold: WordBool): HResult; stdcall;
    function Get_Italic(out pitalic: WordBool): HResult; stdcall;
    function Set_Italic(pitalic: WordBool): HResult; stdcall;
    function Get_Underline(out punderline: WordBool): HResult; stdcall;
    function Set_Underline(punderline: WordBool): HResult; stdcall;
    function Get_Strikethrough(out pstrikethrough: WordBool): HResult; stdcall;
    function Set_Strikethrough(pstrikethrough: WordBool): HResult; stdcall;
    function Get_Weight(out pweight: Smallint): HResult; stdcall;
    function Set_Weight(pweight: Smallint): HResult; stdcall;
    function Get_Charset(out pcharset: Smallint): HResult; stdcall;
    function Set_Charset(pcharset: Smallint): HResult; stdcall;
    function hFont(out phfont: OLE_HANDLE): HResult; stdcall;
    function Clone(out ppfont: IFont): HResult; stdcall;
    function IsEqual(const pfontOther: IFont): HResult; stdcall;
    function SetRatio(cyLogical: Longint; cyHimetric: Longint): HResult; stdcall;
    function AddRefHfont(hFont: OLE_HANDLE): HResult; stdcall;
    function ReleaseHfont(hFont: OLE_HANDLE): HResult; stdcall;
  end;

  IPicture = interface(IUnknown)
    ['{7BF80980-BF32-101A-8BBB-00AA00300CAB}']
    function Handle(out phandle: OLE_HANDLE): HResult; stdcall;
    function Get_hPal(out phpal: OLE_HANDLE): HResult; stdcall;
    function Type_(out ptype: Smallint): HResult; stdcall;
    function Width(out pwidth: OLE_XSIZE_HIMETRIC): HResult; stdcall;
    function Height(out pheight: OLE_YSIZE_HIMETRIC): HResult; stdcall;
    function Render(hdc: Integer; x: Longint; y: Longint; cx: Longint; cy: Longint; 
      xSrc: OLE_XPOS_HIMETRIC; ySrc: OLE_YPOS_HIMETRIC; cxSrc: OLE_XSIZE_HIMETRIC; 
      cySrc: OLE_YSIZE_HIMETRIC; prcWBounds: Pointer): HResult; stdcall;
    function Set_hPal(phpal: OLE_HANDLE): HResult; stdcall;
    function CurDC(out phdcOut: Integer): HResult; stdcall;
    function SelectPicture(hdcIn: Integer; out phdcOut: Integer; 
      out phbmpOut: OLE_HANDLE): HResult; stdcall;
    function Get_KeepOriginalFormat(out pfkeep: WordBool): HResult; stdcall;
    function Set_KeepOriginalFormat(pfkeep: WordBool): HResult; stdcall;
    function PictureChanged: HResult; stdcall;
    function SaveAsFile(pstm: Pointer; fSaveMemCopy: WordBool; out pcbSize: Longint): HResult; stdcall;
    function Attributes(out pdwAttr: Longint): HResult; stdcall;
    function SetHdc(hdc: OLE_HANDLE): HResult; stdcall;
  end;

  Font = dispinterface
    ['{BEF6E003-A874-101A-8BBA-00AA00300CAB}']
    property Name: WideString dispid 0;
    property Size: Currency dispid 2;
    property Bold: WordBool dispid 3;
    property Italic: WordBool dispid 4;
    property Underline: WordBool dispid 5;
    property Strikethrough: WordBool dispid 6;
    property Weight: Smallint dispid 7;
    property Charset: Smallint dispid 8;
  end;

  Picture = dispinterface
    ['{7BF80981-BF32-101A-8BBB-00AA00300CAB}']
    property Handle: {OLE_HANDLE}OleVariant dispid 0;
    property hPal: {OLE_HANDLE}OleVariant dispid 2;
    property Type_: Smallint dispid 3;
    property Width: {OLE_XSIZE_HIMETRIC}OleVariant dispid 4;
    property Height: {OLE_YSIZE_HIMETRIC}OleVariant dispid 5;
    procedure Render(hdc: Integer; x: Longint; y: Longint; cx: Longint; cy: Longint; 
      xSrc: {OLE_XPOS_HIMETRIC}OleVariant; ySrc: {OLE_YPOS_HIMETRIC}OleVariant; 
      cxSrc: {OLE_XSIZE_HIMETRIC}OleVariant; cySrc: {OLE_YSIZE_HIMETRIC}OleVariant; 
      prcWBounds: {Pointer}OleVariant); dispid 6;
  end;

  FontEvents = dispinterface
    ['{4EF6100A-AF88-11D0-9846-00C04FC29993}']
    procedure FontChanged(const PropertyName: WideString); dispid 9;
  end;

implementation

end.
