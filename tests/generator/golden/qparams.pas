unit QParams_TLB;

{$TYPEDADDRESS OFF}
{$WARN SYMBOL_PLATFORM OFF}
{$WRITEABLECONST ON}
{$VARPROPSETTER ON}

interface

uses
  Windows, ActiveX, Variants;

const
  CLSID_QParamsObject: TGUID = '{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A3005}';
  IID_IQParams: TGUID = '{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A3002}';
  IID_DQParams: TGUID = '{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A3004}';
  IID_IQVtableProps: TGUID = '{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A3003}';

type
  QMode = TOleEnum;

const
  qmNone = 0;
  qmFast = 1;
  qmSlow = 2;

type
  IQVtableProps = interface;
  IQParams = dispinterface;
  DQParams = dispinterface;

  QSettings = packed record
    mode: QMode;
    level: Longint;
  end;

  IQVtableProps = interface(IUnknown)
    ['{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A3003}']
    function Get_Size(out value: Longint): HResult; stdcall;
    function Set_Size(value: Longint): HResult; stdcall;
    function Target: HResult; stdcall;
    function Optional({opt} maybe: Longint; {opt} const wide: WideString; 
      {opt} narrow: Smallint): HResult; stdcall;
    function LcidOnly(locale: LongWord): HResult; stdcall;
    function NoDirection(plain: Longint; const text: WideString): HResult; stdcall;
  end;

  IQParams = dispinterface
    ['{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A3002}']
    procedure Optionals(required: Longint; {opt} first: OleVariant; 
      {opt} second: OleVariant); dispid 1;
    procedure Defaults({opt} count: Longint; {opt} negative: Smallint; {opt} hex: Byte; 
      {opt} tiny: Single; {opt} flag: WordBool; {opt} off: WordBool; 
      {opt} big: Longint; {opt} biggest: Longint; {opt} smallest: Longint); dispid 2;
    procedure StringDefaults({opt} const empty: WideString; 
      {opt} const plain: WideString; {opt} const escaped: WideString; 
      {opt} const longer: WideString); dispid 3;
    procedure OtherDefaults({opt} mode: QMode; {opt} number: OleVariant; 
      {opt} withDefault: Longint; {opt} afterDefault: OleVariant); dispid 4;
    procedure WithLcid(value: Longint); dispid 5;
    function WithRetval(value: Longint): WideString; dispid 6;
    function WithLcidAndRetval(const text: WideString): Longint; dispid 7;
    procedure WithVararg(const format: WideString; args: OleVariant); dispid 8;
    function WithVarargRetval(var args: OleVariant): OleVariant; dispid 9;
    procedure Directions(a: Longint; out b: Longint; var c: Longint); dispid 10;
    property value: OleVariant dispid 0;
    property Item[index: Longint]: WideString dispid 11;
    property ReadOnly: Longint readonly dispid 12;
    property WriteOnly: Longint dispid 13;
    property _NewEnum: IUnknown readonly dispid -4;
    procedure Custom(value: Longint); dispid 14;
    property Bound: Longint readonly dispid 15;
    property Browsed: Longint readonly dispid 16;
    procedure Collected(index: Longint); dispid 17;
    procedure NoId(var settings: {QSettings}OleVariant); dispid 1610743830;
  end;

  DQParams = dispinterface
    ['{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A3004}']
    property plain: Longint dispid 1;
    property Fixed: WideString dispid 2;
    function Call({opt} a: OleVariant; {opt} b: Longint): OleVariant; dispid 3;
    procedure Many(var args: OleVariant); dispid 4;
    property Label_[index: Longint]: WideString dispid 5;
    procedure Fired; dispid 6;
  end;

implementation

end.
