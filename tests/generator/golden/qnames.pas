unit QNames_TLB;

{$TYPEDADDRESS OFF}
{$WARN SYMBOL_PLATFORM OFF}
{$WRITEABLECONST ON}
{$VARPROPSETTER ON}

interface

uses
  Windows, ActiveX, Variants;

const
  CLSID_Thing: TGUID = '{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A4004}';
  IID_IThing: TGUID = '{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A4002}';
  IID_TThing: TGUID = '{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A4003}';

type
  Word_ = TOleEnum;

const
  begin_ = 0;
  end_ = 1;
  type_ = 2;

type
  IThing = dispinterface;
  TThing = dispinterface;

  TObject = Longint;

  Integer_ = packed record
    type_: Longint;
    end_: Longint;
    record_: Longint;
    array_: Smallint;
    String_: WideString;
    Boolean: WordBool;
    Cardinal: LongWord;
    Byte: Byte;
    Single: Single;
    Double: Double;
  end;

  __Underscored = packed record
    _field: Longint;
    __twice: Longint;
  end;

  IThing = dispinterface
    ['{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A4002}']
    function type_(end_: Longint; begin_: Longint): Longint; dispid 1610743808;
    procedure var_(var record_: {Integer_}OleVariant; set_: Word_); dispid 1610743809;
    procedure unit_(program_: {TObject}OleVariant; with_: Longint); dispid 1610743810;
    property property_: Longint dispid 1610743811;
    procedure inherited_(do_: Longint; to_: Longint; file_: Longint; label_: Longint); dispid 1610743813;
    procedure value(value: Longint); dispid 1610743814;
    procedure AVeryLongMethodNameThatGoesOnAndOnToCheckThatNothingTruncatesIdentifiersAtSomeLengthLimit(
      x: Longint); dispid 1610743815;
    procedure _Hidden(var u: {__Underscored}OleVariant); dispid 1610743816;
  end;

  TThing = dispinterface
    ['{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A4003}']
    property end_: Longint dispid 1;
    property String_: WideString dispid 2;
    procedure type_(begin_: Longint); dispid 3;
  end;

implementation

end.
