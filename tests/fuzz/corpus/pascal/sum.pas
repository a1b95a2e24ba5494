// The numbers 1 to 100 added up.
var
  i, sum: Integer;
begin
  sum := 0;
  for i := 1 to 100 do
    sum := sum + i;
  ShowMessage(sum);
end.
