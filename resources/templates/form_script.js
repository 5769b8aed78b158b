	// %Comment;フォーム集計の初期化
	var %VarName;st = 0;
	var %VarName;en = 0;
	document.%FormName;.AND%InputName;.value = "";
	document.%FormName;.OR%InputName;.value = "";
	document.%FormName;.NOT%InputName;.value = "";
	// %Comment;フォーム範囲の取得
	while ( ! ( ( document.%FormName;[%VarName;st].name == "TSYOSSTAG" )&&( document.%FormName;[%VarName;st].value == "%TagName;Start" ) ) ) { %VarName;st++; }
	%VarName;st++;
	%VarName;en = %VarName;st;
	while ( ! ( ( document.%FormName;[%VarName;en].name == "TSYOSSTAG" )&&( document.%FormName;[%VarName;en].value == "%TagName;End" )&&( %VarName;en<count ) ) ) { %VarName;en++; }
	// %Comment;フォームの各演算方法の取得
	for ( %VarName;st; %VarName;st<%VarName;en; %VarName;st++ ) {
		if ( document.%FormName;[%VarName;st].selectedIndex == 1 ) {
			document.%FormName;.AND%InputName;.value = document.%FormName;.AND%InputName;.value + "|" + document.%FormName;[%VarName;st].name;
		}
		if ( document.%FormName;[%VarName;st].selectedIndex == 2 ) {
			document.%FormName;.OR%InputName;.value = document.%FormName;.OR%InputName;.value + "|" + document.%FormName;[%VarName;st].name;
		}
		if ( document.%FormName;[%VarName;st].selectedIndex == 3 ) {
			document.%FormName;.NOT%InputName;.value = document.%FormName;.NOT%InputName;.value + "|" + document.%FormName;[%VarName;st].name;
		}
	}

