// The numbers 1 to 100 added up.
var sum = 0;
for (var i = 1; i <= 100; i++) {
  sum += i;
}
ShowMessage(sum);
