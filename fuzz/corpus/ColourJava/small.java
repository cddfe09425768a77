int x = "a\\" + "b\"c"; // x
/* y
 */ if