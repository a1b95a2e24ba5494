// Texts built in loops: a list of numbers, a text reversed, a row of stars.
var s = "", r = "";
for (var i = 1; i <= 10; i++) {
  if (i > 1) s += ",";
  s += IntToStr(i);
}
ShowMessage(s);
for (i = Length(s); i >= 1; i--)
  r = r + Copy(s, i, 1);
ShowMessage(r);
s = "";
do {
  s = s + "*";
} while (Length(s) < 5);
ShowMessage("[" + s + "]");
