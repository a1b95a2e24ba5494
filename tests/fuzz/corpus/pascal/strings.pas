// Texts built in loops: a list of numbers, a text reversed, a row of stars.
var
  i: Integer;
  s, r: String;
begin
  s := '';
  for i := 1 to 10 do
  begin
    if i > 1 then
      s := s + ',';
    s := s + IntToStr(i);
  end;
  ShowMessage(s);
  r := '';
  for i := Length(s) downto 1 do
    r := r + Copy(s, i, 1);
  ShowMessage(r);
  s := '';
  while Length(s) < 5 do
    s := s + '*';
  ShowMessage('[' + s + ']');
end.
