{ Calls Wine's MSXML 6 DOM through the import unit that quenlor generates from msxml6.dll:
  creates a DOMDocument60, loads a text, queries it and prints what the document says. }
program msxml_demo;

{$mode delphi}

uses
  SysUtils, Windows, ActiveX, ComObj, Variants, MSXML2_TLB;

var
  Dispatch: IDispatch;
  Document: IXMLDOMDocument;
  Attribute: IXMLDOMNode;
  Status: HResult;
begin
  CoInitialize(nil);
  Status := CoCreateInstance(CLSID_DOMDocument60, nil, CLSCTX_INPROC_SERVER, IDispatch, Dispatch);
  if Failed(Status) then
  begin
    WriteLn('CoCreateInstance(CLSID_DOMDocument60) failed: ', IntToHex(Status, 8));
    Halt(2);
  end;
  Document := IXMLDOMDocument(Dispatch);
  if not Document.loadXML('<greeting lang="en">hello from an import unit</greeting>') then
  begin
    WriteLn('loadXML refused the text');
    Halt(3);
  end;
  Attribute := Document.selectSingleNode('/greeting/@lang');
  WriteLn(Document.documentElement.nodeName, ': ', Document.documentElement.text,
    ' [lang=', Attribute.text, ']');
  WriteLn(Document.xml);
  Attribute := nil;
  Document := nil;
  Dispatch := nil;
  CoUninitialize;
end.
