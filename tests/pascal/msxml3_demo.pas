{ Calls Wine's MSXML 3 through the import unit that quenlor generates from msxml3.dll: a
  DOMDocument30 through its dispinterfaces (load, root element, an attribute, a node list),
  and the root of an XMLDocument through the vtable interface IXMLElement, whose tagName
  getter is the accessor Get_tagName. }
program msxml3_demo;

{$mode delphi}

uses
  SysUtils, Windows, ActiveX, ComObj, Variants, MSXML2_TLB;

const
  Text = '<catalog lang="en"><book id="b1"/><book id="b2"/><note/></catalog>';
  CLSID_XMLDocument: TGUID = '{CFC399AF-D876-11D0-9C10-00C04FC99C8E}';

var
  Dispatch: IDispatch;
  Document: IXMLDOMDocument;
  Books: IXMLDOMNodeList;
  I: Integer;
  Legacy: OleVariant;
  Stream: IStream;
  Written: LongWord;
  Root: IXMLElement;
  Name: WideString;
  Lang: OleVariant;
  Status: HResult;
begin
  CoInitialize(nil);
  Status := CoCreateInstance(CLSID_DOMDocument30, nil, CLSCTX_INPROC_SERVER, IDispatch, Dispatch);
  if Failed(Status) then
  begin
    WriteLn('CoCreateInstance(CLSID_DOMDocument30) failed: ', IntToHex(Status, 8));
    Halt(2);
  end;
  Document := IXMLDOMDocument(Dispatch);
  if not Document.loadXML(Text) then
  begin
    WriteLn('loadXML refused the text');
    Halt(3);
  end;
  Write('root: ', Document.documentElement.nodeName, ' lang=', Document.documentElement.getAttribute('lang'));
  Books := Document.documentElement.selectNodes('book');
  Write(' books:', Books.length);
  for I := 0 to Books.length - 1 do
    Write(' ', Books.item[I].attributes.getNamedItem('id').text);
  WriteLn;

  Status := CoCreateInstance(CLSID_XMLDocument, nil, CLSCTX_INPROC_SERVER, IDispatch, Dispatch);
  if Failed(Status) then
  begin
    WriteLn('CoCreateInstance(CLSID_XMLDocument) failed: ', IntToHex(Status, 8));
    Halt(4);
  end;
  OleCheck(CreateStreamOnHGlobal(0, True, Stream));
  OleCheck(Stream.Write(PAnsiChar(AnsiString(Text)), Length(Text), @Written));
  OleCheck(Stream.Seek(0, STREAM_SEEK_SET, PUInt64(nil)^));
  OleCheck((Dispatch as IPersistStreamInit).Load(Stream));
  Legacy := Dispatch;
  Root := IDispatch(Legacy.root) as IXMLElement;
  OleCheck(Root.Get_tagName(Name));
  OleCheck(Root.getAttribute('lang', Lang));
  WriteLn('legacy root: ', Name, ' lang=', Lang);
  Root := nil;
  Books := nil;
  Document := nil;
  Dispatch := nil;
  Legacy := Unassigned;
  CoUninitialize;
end.
